#include "platform/messagesink.h"

#include "platform/codec.h"

#include <cstdio>

namespace qel {
namespace {

MessageHandler& handler() {
    static MessageHandler instance;
    return instance;
}

} // namespace

void setMessageHandler(MessageHandler newHandler) {
    handler() = std::move(newHandler);
}

void showMessage(std::string_view text, std::string_view caption) {
    std::fprintf(stderr, "%s: %s\n", cp949ToUtf8(caption).c_str(), cp949ToUtf8(text).c_str());
    std::fflush(stderr);
    if (handler())
        handler()(std::string(text), std::string(caption));
}

void logWarning(std::string_view utf8Text) {
    std::fprintf(stderr, "qelbible: %.*s\n", static_cast<int>(utf8Text.size()), utf8Text.data());
}

} // namespace qel
