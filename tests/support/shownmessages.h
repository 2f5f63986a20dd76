#pragma once

#include "platform/codec.h"
#include "platform/messagesink.h"

#include <string>
#include <vector>

// What the program tells the reader while this lives, as UTF-8, instead of on stderr.
// Declare it last in a fixture, so that it goes first, as the handler must.
class ShownMessages : public std::vector<std::string> {
public:
    ShownMessages() {
        qel::setMessageHandler([this](const std::string& text, const std::string&) {
            push_back(qel::cp949ToUtf8(text));
        });
    }
    ~ShownMessages() { qel::setMessageHandler(nullptr); }
    ShownMessages(const ShownMessages&) = delete;
    ShownMessages& operator=(const ShownMessages&) = delete;
};
