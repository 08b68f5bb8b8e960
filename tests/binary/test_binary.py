"""What the built files hold: the import table, the PE flags, and the resources, read
from the binaries themselves."""
import os
import struct
from pathlib import Path

import pefile
import pytest

BUILD = Path(os.environ.get("SORVANIL_BUILD", "build")).resolve()
# SORVANIL_PROGRAM: another build of the program to check, such as a signed one.
PROGRAM = Path(os.environ.get("SORVANIL_PROGRAM", BUILD / "Sorvanil.exe")).resolve()
STANDIN = BUILD / "standin" / "INSTAIDE.dll"

SYSTEM_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "msvcrt.dll", "advapi32.dll", "shell32.dll",
               "comctl32.dll", "ole32.dll", "oleaut32.dll", "oleacc.dll"}

RT_ICON, RT_DIALOG, RT_GROUP_ICON, RT_VERSION, RT_MANIFEST = 3, 5, 14, 16, 24


@pytest.fixture(scope="module")
def pe():
    return pefile.PE(str(PROGRAM))


def resource(pe, rtype, rid):
    """(data, language) of one resource."""
    for t in pe.DIRECTORY_ENTRY_RESOURCE.entries:
        if t.id != rtype:
            continue
        for entry in t.directory.entries:
            if entry.id == rid:
                lang = entry.directory.entries[0]
                rva, size = lang.data.struct.OffsetToData, lang.data.struct.Size
                return pe.get_data(rva, size), lang.id
    raise KeyError((rtype, rid))


def test_program_is_a_static_32_bit_gui_program_with_aslr_and_dep(pe):
    assert pe.FILE_HEADER.Machine == 0x14C          # i386
    assert pe.OPTIONAL_HEADER.Magic == 0x10B        # PE32
    assert pe.OPTIONAL_HEADER.Subsystem == 2        # Windows GUI
    flags = pe.OPTIONAL_HEADER.DllCharacteristics
    assert flags & 0x40, "dynamic base (ASLR)"
    assert flags & 0x100, "NX compatible (DEP)"
    assert not list(BUILD.glob("*.dll")), "nothing may sit beside the program in the build output"


def test_install_aide_is_imported_by_ordinal_only_and_nothing_else_but_the_system(pe):
    imports = {entry.dll.decode().lower(): entry.imports for entry in pe.DIRECTORY_ENTRY_IMPORT}
    assert "instaide.dll" in imports
    aide = imports.pop("instaide.dll")
    assert sorted(i.ordinal for i in aide) == [101, 102, 103]
    assert all(i.name is None and i.import_by_ordinal for i in aide)
    assert set(imports) <= SYSTEM_DLLS, set(imports) - SYSTEM_DLLS


def read_sz(data, offset):
    """A UTF-16 string or an ordinal (0xFFFF, id) at offset: (value, next offset)."""
    if struct.unpack_from("<H", data, offset)[0] == 0xFFFF:
        return struct.unpack_from("<H", data, offset + 2)[0], offset + 4
    end = offset
    while struct.unpack_from("<H", data, end)[0] != 0:
        end += 2
    return data[offset:end].decode("utf-16-le"), end + 2


def align(offset, n=4):
    return (offset + n - 1) // n * n


def parse_dialogex(data):
    head = struct.unpack_from("<HHIIIHhhhh", data, 0)
    keys = ("dlgVer", "signature", "helpID", "exStyle", "style", "cDlgItems", "x", "y", "cx", "cy")
    dialog = dict(zip(keys, head))
    offset = struct.calcsize("<HHIIIHhhhh")
    dialog["menu"], offset = read_sz(data, offset)
    dialog["class"], offset = read_sz(data, offset)
    dialog["title"], offset = read_sz(data, offset)
    dialog["pointsize"], dialog["weight"], dialog["italic"], dialog["charset"] = struct.unpack_from("<HHBB", data, offset)
    dialog["typeface"], offset = read_sz(data, offset + 6)
    items = []
    for _ in range(dialog["cDlgItems"]):
        offset = align(offset)
        item = dict(zip(("helpID", "exStyle", "style", "x", "y", "cx", "cy", "id"),
                        struct.unpack_from("<IIIhhhhI", data, offset)))
        offset += 24
        item["class"], offset = read_sz(data, offset)
        item["title"], offset = read_sz(data, offset)
        extra = struct.unpack_from("<H", data, offset)[0]
        offset += 2 + extra
        items.append(item)
    dialog["items"] = items
    return dialog


def test_dialog_template_is_exactly_as_designed(pe):
    data, language = resource(pe, RT_DIALOG, 102)
    assert language == 0x0409
    d = parse_dialogex(data)
    assert (d["dlgVer"], d["signature"], d["helpID"]) == (1, 0xFFFF, 0)
    assert d["style"] == 0x90C800C0
    assert d["exStyle"] == 0x00040000
    assert (d["x"], d["y"], d["cx"], d["cy"]) == (0, 0, 255, 159)
    assert (d["menu"], d["class"]) == ("", "")
    assert d["title"] == "Drestovane Handheld Computer Application Install"
    assert (d["pointsize"], d["weight"], d["italic"], d["charset"], d["typeface"]) == (8, 0, 0, 1, "MS Sans Serif")

    BUTTON, LISTBOX, STATIC = 0x80, 0x83, 0x82
    first = 'Install the Drestovane (TM) "Quimbrel Audio Player" software to your Palm m100 handhelds.'
    second = ("Select the Palm Desktop (TM) users for which the software should be installed.  "
              "Files will be installed on the handheld during each users next hotsync.")
    expected = [
        (BUTTON, 1, "INSTALL", (146, 140, 45, 16), 0x50018001),
        (LISTBOX, 1001, "", (63, 29, 120, 71), 0x50B10951),
        (STATIC, 0xFFFFFFFF, first, (28, 5, 198, 21), 0x50020001),
        (STATIC, 0xFFFFFFFF, second, (0, 107, 248, 22), 0x50020001),
        (BUTTON, 2, "EXIT", (197, 141, 50, 14), 0x50018000),
    ]
    got = [(i["class"], i["id"], i["title"], (i["x"], i["y"], i["cx"], i["cy"]), i["style"]) for i in d["items"]]
    assert got == expected
    assert all(i["exStyle"] == 0 and i["helpID"] == 0 for i in d["items"])


def test_icon_holds_seven_real_palette_images_with_masks(pe):
    group, _ = resource(pe, RT_GROUP_ICON, 128)
    reserved, kind, count = struct.unpack_from("<HHH", group, 0)
    assert (reserved, kind, count) == (0, 1, 7)
    sizes = []
    for k in range(count):
        w, h, colours, _, planes, bits, size, icon_id = struct.unpack_from("<BBBBHHIH", group, 6 + 14 * k)
        w, h = w or 256, h or 256
        sizes.append((w, bits))
        image, _ = resource(pe, RT_ICON, icon_id)
        assert len(image) == size
        header = struct.unpack_from("<IiiHHIIiiII", image, 0)
        assert header[0] == 40 and header[1] == w and header[2] == 2 * h and header[4] == bits
        palette = header[9] or (1 << bits)
        assert palette == 1 << bits, "a full palette for %d bits" % bits
        row = lambda b: (w * b + 31) // 32 * 4
        assert len(image) == 40 + 4 * palette + row(bits) * h + row(1) * h, "colour bits and the AND mask"
        mask = image[40 + 4 * palette + row(bits) * h:]
        assert 0 < sum(bin(b).count("1") for b in mask) < w * h, "the mask leaves some pixels clear and some not"
    assert sizes == [(32, 4), (64, 8), (32, 8), (48, 8), (16, 8), (16, 4), (32, 1)]


def version_strings(pe):
    strings = {}
    for info in pe.FileInfo[0]:
        if info.Key == b"StringFileInfo":
            for table in info.StringTable:
                strings[table.LangID] = {k.decode(): v.decode() for k, v in table.entries.items()}
    return strings


def test_version_block_identifies_the_program(pe):
    fixed = pe.VS_FIXEDFILEINFO[0]
    assert (fixed.FileVersionMS, fixed.FileVersionLS) == (0x00010000, 0x00000001)
    assert (fixed.ProductVersionMS, fixed.ProductVersionLS) == (0x00010000, 0x00000001)
    assert (fixed.FileFlagsMask, fixed.FileFlags) == (0x3F, 0)
    assert (fixed.FileOS, fixed.FileType, fixed.FileSubtype) == (4, 1, 0)
    strings = version_strings(pe)
    assert list(strings) == [b"040904b0"]
    assert strings[b"040904b0"] == {
        "Comments": "", "CompanyName": "", "FileDescription": "Sorvanil MFC Application",
        "FileVersion": "1, 0, 0, 1", "InternalName": "Sorvanil", "LegalTrademarks": "",
        "OriginalFilename": "Sorvanil.EXE", "PrivateBuild": "", "ProductName": "Sorvanil Application",
        "ProductVersion": "1, 0, 0, 1", "SpecialBuild": "",
    }
    translations = [v for info in pe.FileInfo[0] if info.Key == b"VarFileInfo" for v in info.Var]
    assert translations[0].entry == {b"Translation": "0x0409 0x04b0"}


def test_stand_in_exports_the_three_ordinals_and_says_what_it_is():
    dll = pefile.PE(str(STANDIN))
    exports = dll.DIRECTORY_ENTRY_EXPORT.symbols
    assert sorted(e.ordinal for e in exports) == [101, 102, 103]
    assert all(e.name is None for e in exports)
    description = version_strings(dll)[b"040904b0"]["FileDescription"]
    assert "STAND-IN" in description and "not the Palm Desktop library" in description


def test_manifest_runs_as_invoker_on_every_current_windows(pe):
    data, _ = resource(pe, RT_MANIFEST, 1)
    text = data.decode("utf-8")
    assert 'level="asInvoker"' in text
    for os_id in ("e2011457-1546-43c5-a5fe-008deee3d3f0", "35138b9a-5d96-4fbd-8e2d-a2440225f93a",
                  "4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38", "1f676c76-80e1-4239-95bb-83d0f6d0da78",
                  "8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a"):
        assert "{%s}" % os_id in text
    assert "Microsoft.Windows.Common-Controls" not in text
    assert "<dpiAware xmlns=\"http://schemas.microsoft.com/SMI/2005/WindowsSettings\">true</dpiAware>" in text


def test_dist_holds_the_program_and_its_read_me_and_no_library(tmp_path):
    import subprocess
    out = tmp_path / "dist"
    source = Path(__file__).resolve().parents[2]
    subprocess.run(["bash", str(source / "tools" / "dist.sh"), str(BUILD), str(out)], check=True,
                   capture_output=True, timeout=60)
    assert sorted(p.name for p in out.iterdir()) == ["README.txt", "SHA256SUMS", "Sorvanil-1.0.0.1.zip",
                                                     "Sorvanil.exe"]
    assert (out / "Sorvanil.exe").read_bytes() == PROGRAM.read_bytes()
    text = (out / "README.txt").read_bytes()
    assert b"\r\n" in text and b"Installation incomplete: Some files could not be queued." in text
