#include "versesearch/resultfile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace qel {

void ResultWriter::room(std::size_t bytes) {
    if (size_ + bytes > out_.size())
        out_.resize(std::max(out_.size() * 2, size_ + bytes + 4096));
}

void ResultWriter::closeRecord() {
    if (!open_)
        return;
    room(2);
    out_[size_++] = '\n';
    out_[size_++] = '^';
    open_ = false;
}

void ResultWriter::verse(std::string_view reference) {
    closeRecord();
    reference_ = reference;
}

std::string ResultWriter::finish() {
    closeRecord();
    room(1);
    out_[size_++] = '*';
    out_.resize(size_);
    std::string text = std::move(out_);
    out_.clear();
    size_ = 0;
    return text;
}

bool writeResultFile(const std::string& path, std::string_view text) {
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

bool readResultFile(const std::string& path, std::string& text) {
    text.clear();
    const int fd = ::open(path.c_str(), O_RDONLY);
    if (fd < 0)
        return false;
    // Room for the whole file and one byte more, so that one read takes it all and the
    // next sees its end; a file that grows meanwhile is still read whole.
    struct stat st {};
    text.resize(::fstat(fd, &st) == 0 && st.st_size > 0 ? static_cast<std::size_t>(st.st_size) + 1
                                                        : 4096);
    std::size_t done = 0;
    for (;;) {
        if (done == text.size())
            text.resize(text.size() * 2);
        const ssize_t n = ::read(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            const int e = errno;
            ::close(fd);
            text.clear();
            errno = e;
            return false;
        }
        if (n == 0)
            break;
        done += static_cast<std::size_t>(n);
    }
    text.resize(done);
    return ::close(fd) == 0;
}

bool ResultRecords::next() {
    record_.clear();
    while (pos_ < text_.size()) {
        const char* from = text_.data() + pos_;
        const std::size_t left = text_.size() - pos_;
        const void* caret = std::memchr(from, '^', left);
        std::size_t length =
            caret ? static_cast<std::size_t>(static_cast<const char*>(caret) - from) : left;
        if (const void* star = std::memchr(from, '*', length))
            length = static_cast<std::size_t>(static_cast<const char*>(star) - from);
        const std::size_t end = pos_ + length;
        const std::string_view body = text_.substr(pos_, end - pos_);
        if (end == text_.size()) {
            // A last record cut off without its end mark.
            pos_ = end;
            if (body.size() < 4)
                return false;
        } else {
            if (text_[end] == '*' && body.empty()) {
                pos_ = text_.size();
                return false;
            }
            pos_ = end + 1;
            if (body.empty())
                continue;
        }
        record_.assign(body.substr(0, kResultRecordLimit));
        return true;
    }
    return false;
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
