#include "versesearch/resultfile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace qel {

std::string formatResultRecords(const std::vector<VerseHits>& hits) {
    std::string out;
    for (const VerseHits& v : hits) {
        std::string record = v.reference;
        bool pending = false;
        for (int p : v.positions) {
            const std::string item = "#" + std::to_string(p);
            if (pending && record.size() + item.size() + 1 > kResultRecordLimit) {
                out += record;
                out += "\n^";
                record = v.reference;
                pending = false;
            }
            record += item;
            pending = true;
        }
        if (pending) {
            out += record;
            out += "\n^";
        }
    }
    out += '*';
    return out;
}

bool writeResultFile(const std::string& path, const std::vector<VerseHits>& hits) {
    const std::string text = formatResultRecords(hits);
    // Rewritten in place and cut to size afterwards: truncating to zero first makes some
    // file systems flush the old blocks, which costs milliseconds per search.
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT, 0644);
    if (fd < 0)
        return false;
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            const int e = errno;
            ::close(fd);
            errno = e;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    if (::ftruncate(fd, static_cast<off_t>(text.size())) != 0) {
        const int e = errno;
        ::close(fd);
        errno = e;
        return false;
    }
    return ::close(fd) == 0;
}

std::vector<std::string> readResultRecords(std::string_view text) {
    std::vector<std::string> records;
    std::string record;
    std::size_t length = 0;
    for (char c : text) {
        if (c == '^' || c == '*') {
            if (c == '*' && length == 0)
                return records;
            if (length > 0)
                records.push_back(record);
            record.clear();
            length = 0;
            continue;
        }
        if (record.size() < kResultRecordLimit)
            record.push_back(c);
        ++length;
    }
    if (length >= 4)
        records.push_back(record);
    return records;
}

bool hitPositionText(std::string_view record, std::string& positions) {
    const std::size_t hash = record.find('#');
    if (hash == std::string_view::npos)
        return false;
    positions.assign(record.substr(hash + 1));
    if (!positions.empty() && (positions.back() < '0' || positions.back() > '9'))
        positions.pop_back();
    return true;
}

bool splitResultReference(std::string_view key, ResultReference& out) {
    auto isNumberChar = [](char c) { return (c >= '0' && c <= '9') || c == '-'; };
    std::size_t end = key.size();
    std::size_t i = end;
    while (i > 0 && isNumberChar(key[i - 1]))
        --i;
    if (i == end || i == 0)
        return false;
    const std::string_view verse = key.substr(i);
    const std::size_t chapterEnd = i - 1; // the separator
    std::size_t j = chapterEnd;
    while (j > 0 && isNumberChar(key[j - 1]))
        --j;
    if (j == chapterEnd || j == 0)
        return false;
    out.book.assign(key.substr(0, j));
    out.chapter.assign(key.substr(j, chapterEnd - j));
    out.verse.assign(verse);
    return true;
}

} // namespace qel
