// Import sources are a reader's own files: the module tag stream, OSIS XML and USFM must
// take any bytes, failing only with SourceError.
#include "mkdb/kjvimport.h"
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
    tryReader([](std::istream& in) { qel::mkdb::readImp(in, "f.imp"); });
    tryReader([](std::istream& in) { qel::mkdb::readOsis(in, "f.xml"); });
    tryReader([](std::istream& in) {
        qel::mkdb::ImportedText out;
        qel::mkdb::readUsfmBook(in, "f.usfm", {}, out);
        for (const qel::mkdb::TitleRecord& t : out.titles)
            if (t.body.find('[') == std::string::npos)
                __builtin_trap(); // every section title ends with its place
    });
    return 0;
}
