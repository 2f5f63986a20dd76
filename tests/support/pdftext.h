#pragma once

#include <cstdio>
#include <string>

// What a shell command prints on its standard output.
inline std::string commandOutput(const std::string& command) {
    std::string output;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[4096];
        std::size_t n = 0;
        while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0)
            output.append(buffer, n);
        pclose(pipe);
    }
    return output;
}

// The text of a PDF file as poppler's pdftotext reads it (UTF-8); empty without the tool.
inline std::string pdfText(const std::string& pdf) {
    return commandOutput("pdftotext -enc UTF-8 '" + pdf + "' - 2>/dev/null");
}
