#pragma once

#include <cstdio>
#include <string>

// The text of a PDF file as poppler's pdftotext reads it (UTF-8); empty without the tool.
inline std::string pdfText(const std::string& pdf) {
    std::string output;
    if (FILE* pipe = popen(("pdftotext -enc UTF-8 '" + pdf + "' - 2>/dev/null").c_str(), "r")) {
        char buffer[4096];
        std::size_t n = 0;
        while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0)
            output.append(buffer, n);
        pclose(pipe);
    }
    return output;
}
