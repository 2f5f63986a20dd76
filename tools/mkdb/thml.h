#pragma once

#include "mkdb/osisconverter.h"

#include <string_view>

namespace qel::mkdb {

// Feeds one verse of a ThML module to the converter as the OSIS it stands for: <note>
// notes, <i>/<added> added words, <font color="red"> words of Jesus, <h1>..<h6> and
// <div class="sechead"> section titles, <div class="title"> Psalm titles; other elements
// (sync, scripRef) keep only their text. A well-formed verse is read with expat, another
// with the tolerant tag reader. With `titlesOnly` only the text of titles is kept.
void feedThml(OsisConverter& converter, std::string_view thml, bool titlesOnly);

} // namespace qel::mkdb
