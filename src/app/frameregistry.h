#pragma once

#include <string_view>
#include <vector>

namespace qel {

class CChildFrame;

// The open child windows, newest (or most recently activated) first.
class FrameRegistry {
public:
    void add(CChildFrame* frame);
    void remove(CChildFrame* frame);
    void moveToFront(CChildFrame* frame);

    const std::vector<CChildFrame*>& frames() const { return frames_; }
    CChildFrame* findByCode(std::string_view code) const;
    // The neighbours of a frame in the list: the next newer and the next older one.
    CChildFrame* newerThan(const CChildFrame* frame) const;
    CChildFrame* olderThan(const CChildFrame* frame) const;

private:
    std::vector<CChildFrame*> frames_;
};

} // namespace qel
