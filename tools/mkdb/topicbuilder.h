#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace qel::mkdb {

// A topic kind: its source in data/topics/ and the topic file built from it.
struct TopicKind {
    const char* source; // "CAME" reads CAME.txt
    const char* file;   // "ca.m14"
};
const std::vector<TopicKind>& topicKinds();

// Draws the picture of a photo topic: PNG bytes, or nothing for a topic without one.
using TopicPicturePainter = std::function<std::string(const std::string& key)>;

// Builds the topic files into `outDir` from the sources in `sourceDir`. A kind whose source
// is missing gets no file (an old one is removed), so the program shows that its data is
// missing. Throws SourceError ("file:line: reason") for a malformed source; a file is
// replaced only when it was built whole. Returns the files written.
std::vector<std::string> buildTopicFiles(const std::filesystem::path& sourceDir,
                                         const std::filesystem::path& outDir,
                                         const TopicPicturePainter& picture,
                                         const std::function<void(const std::string&)>& progress);

} // namespace qel::mkdb
