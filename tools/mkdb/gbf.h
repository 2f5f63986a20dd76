#pragma once

#include "mkdb/osisconverter.h"

#include <string_view>

namespace qel::mkdb {

// Feeds one verse of a GBF module to the converter as the OSIS it stands for: <TS>..<Ts>
// section titles, <RF>..<Rf> notes, <FI>..<Fi> italics, <FR>..<Fr> words of Jesus,
// <CM>/<CL> breaks. Strong's numbers and morphology (<WH..>, <WG..>, <WT..>) and every
// other token are dropped; text stays. With `titlesOnly` only the text of titles is kept.
void feedGbf(OsisConverter& converter, std::string_view gbf, bool titlesOnly);

} // namespace qel::mkdb
