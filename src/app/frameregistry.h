#pragma once

#include <string_view>
#include <vector>

namespace qel {

class CChildFrame;

// The open child windows, newest first: a window joins at the front when it is created,
// and activating it later does not move it.
class FrameRegistry {
public:
    void add(CChildFrame* frame);
    void remove(CChildFrame* frame);

    const std::vector<CChildFrame*>& frames() const { return frames_; }
    CChildFrame* findByCode(std::string_view code) const;
    // The neighbours of a frame in the list: the next newer and the next older one.
    CChildFrame* newerThan(const CChildFrame* frame) const;
    CChildFrame* olderThan(const CChildFrame* frame) const;

private:
    std::vector<CChildFrame*> frames_;
};

} // namespace qel
