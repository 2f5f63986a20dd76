#pragma once

#include <QEvent>
#include <string>

namespace qel {

// What a topic library sends the view it paints into when the reader follows a link: the
// command key of the link target.
class TopicLinkEvent : public QEvent {
public:
    static constexpr QEvent::Type kType = static_cast<QEvent::Type>(1125);

    explicit TopicLinkEvent(std::string commandKey)
        : QEvent(kType), commandKey_(std::move(commandKey)) {}
    const std::string& commandKey() const { return commandKey_; }

private:
    std::string commandKey_;
};

} // namespace qel
