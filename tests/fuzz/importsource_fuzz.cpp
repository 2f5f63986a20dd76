// Import sources are a reader's own files: the module tag streams (OSIS, ThML, GBF), OSIS
// XML, USFM and the fitting to CP949 must take any bytes, failing only with SourceError.
#include "fuzzcheck.h"
#include "mkdb/kjvimport.h"
#include "mkdb/letterfit.h"
#include "mkdb/osisfile.h"
#include "mkdb/usfm.h"

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    qel::mkdb::osisToMarkup(text);
    auto tryReader = [&](auto read) {
        std::istringstream in(text);
        try {
            read(in);
        } catch (const qel::mkdb::SourceError&) {
        }
    };
    for (auto markup : {qel::mkdb::SourceMarkup::Osis, qel::mkdb::SourceMarkup::Thml,
                        qel::mkdb::SourceMarkup::Gbf})
        tryReader([markup](std::istream& in) { qel::mkdb::readImp(in, "f.imp", {}, markup); });
    tryReader([&](std::istream&) {
        qel::mkdb::LetterFit fit;
        fit.fit(text, "f");
    });
    tryReader([](std::istream& in) { qel::mkdb::readOsis(in, "f.xml"); });
    tryReader([](std::istream& in) {
        qel::mkdb::ImportedText out;
        qel::mkdb::readUsfmBook(in, "f.usfm", {}, out);
        for (const qel::mkdb::TitleRecord& t : out.titles)
            check(t.body.find('[') != std::string::npos); // every title ends with its place
    });
    return 0;
}
