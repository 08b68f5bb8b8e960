// Sets up the Install Aide test double loaded into this test program and reads its log.
#pragma once

#include <windows.h>

#include <fstream>
#include <string>
#include <vector>

extern "C" void __stdcall InstAideDoubleReset(void);

class DoubleScript {
public:
    // Writes the double's set-up and starts a new log.
    explicit DoubleScript(const std::string& script)
    {
        char dir[MAX_PATH];
        GetTempPathA(MAX_PATH, dir);
        m_config = std::string(dir) + "instaide_double_unit.txt";
        m_log = std::string(dir) + "instaide_double_unit.log";
        std::ofstream(m_config, std::ios::binary) << script;
        SetEnvironmentVariableA("INSTAIDE_DOUBLE_CONFIG", m_config.c_str());
        SetEnvironmentVariableA("INSTAIDE_DOUBLE_LOG", m_log.c_str());
        InstAideDoubleReset();
    }

    // The calls so far, one line each (the double writes each line as the call ends).
    std::vector<std::string> Calls() const
    {
        std::ifstream in(m_log, std::ios::binary);
        std::vector<std::string> lines;
        for (std::string line; std::getline(in, line);)
            lines.push_back(line);
        return lines;
    }

private:
    std::string m_config, m_log;
};
