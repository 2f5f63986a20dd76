#pragma once

#include <string>
#include <string_view>

namespace qel {

// The file name a printout to PDF is offered under: the document's title (UTF-8) without
// the characters that file systems refuse or that mean something to a shell or a file
// dialog (":" in "역본 나 : 토비트 1 장", "/"), blanks collapsed, ".pdf" added.
std::string pdfFileName(std::string_view title);

} // namespace qel
