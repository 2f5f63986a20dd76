#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace qel {

// Where message-box texts go. Every message is written to stderr first, then handed to the
// handler (the Qt message box in the program; nothing in tests and tools).
using MessageHandler = std::function<void(const std::string& text, const std::string& caption)>;

void setMessageHandler(MessageHandler handler);

// Texts are CP949 like all program text.
void showMessage(std::string_view text, std::string_view caption);

// A diagnostic that is not shown to the user.
void logWarning(std::string_view utf8Text);

} // namespace qel
