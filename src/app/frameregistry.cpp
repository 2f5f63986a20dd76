#include "app/frameregistry.h"

#include "widgets/childframe.h"

#include <algorithm>

namespace qel {

void FrameRegistry::add(CChildFrame* frame) {
    remove(frame);
    frames_.insert(frames_.begin(), frame);
}

void FrameRegistry::remove(CChildFrame* frame) {
    std::erase(frames_, frame);
}

CChildFrame* FrameRegistry::findByCode(std::string_view code) const {
    for (CChildFrame* frame : frames_)
        if (frame->code() == code)
            return frame;
    return nullptr;
}

CChildFrame* FrameRegistry::newerThan(const CChildFrame* frame) const {
    const auto it = std::find(frames_.begin(), frames_.end(), frame);
    return it == frames_.end() || it == frames_.begin() ? nullptr : *(it - 1);
}

CChildFrame* FrameRegistry::olderThan(const CChildFrame* frame) const {
    const auto it = std::find(frames_.begin(), frames_.end(), frame);
    return it == frames_.end() || it + 1 == frames_.end() ? nullptr : *(it + 1);
}

} // namespace qel
