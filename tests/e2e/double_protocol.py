"""The Install Aide test double's protocol: its configuration file and its call log.

A configuration line is "user NAME" (bytes, with \\xHH escapes for bytes outside printable
ASCII and \\\\ for a backslash) or one of the double's script lines (count, install, ...).
The log has one line per call, names escaped the same way."""


def escape(name):
    out = b""
    for c in name:
        out += b"\\\\" if c == 0x5C else (bytes([c]) if 32 <= c < 127 else b"\\x%02X" % c)
    return out


def unescape(text):
    out, i = b"", 0
    while i < len(text):
        if text[i] == "\\" and text[i + 1] == "x":
            out += bytes([int(text[i + 2:i + 4], 16)])
            i += 4
        elif text[i] == "\\" and text[i + 1] == "\\":
            out += b"\\"
            i += 2
        else:
            out += text[i].encode("latin-1")
            i += 1
    return out


def config(users, script=""):
    """The configuration file's bytes: the users (str in cp1252, or bytes) and a script."""
    lines = [b"user " + escape(u if isinstance(u, bytes) else u.encode("cp1252")) for u in users]
    return b"\n".join(lines) + b"\n" + script.encode()


def calls(log_bytes, kind=None):
    lines = log_bytes.decode("latin-1").splitlines()
    return [l for l in lines if kind is None or l.startswith(kind)]


def installs(log_bytes):
    """(user, file) of every InstallFile call, as bytes."""
    result = []
    for line in calls(log_bytes, "InstallFile"):
        user = line.split('user="', 1)[1].split('" file="', 1)[0]
        file = line.split('file="', 1)[1].rsplit('" -> ', 1)[0]
        result.append((unescape(user), unescape(file)))
    return result
