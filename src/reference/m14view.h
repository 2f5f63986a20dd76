#pragma once

#include <QWidget>
#include <string>
#include <string_view>

class QAction;

namespace qel {

// The seven operations of a topic library that the topic view calls.
struct TopicBinding {
    int (*attach)(void* view);
    int (*open)(void* view, const char* path);
    int (*show)(const char* key);
    int (*move)();
    int (*print)();
    int (*copy)();
    int (*selectAll)();
};

// The library of a window code: its kind number, data file and operations. A code of no
// topic window gets kind -1, no file and operations that do nothing.
struct TopicLibraryInfo {
    const char* code;
    int kind;
    const char* file;
    TopicBinding binding;
};
const TopicLibraryInfo& topicLibraryFor(std::string_view code);

// The right pane of a topic window: the library of the window's kind paints into it.
class CM14View : public QWidget {
    Q_OBJECT
public:
    explicit CM14View(QWidget* parent = nullptr);

    // Binds the library of the code and its data file in topicFolder, then attaches the
    // library to this view and has it open the file.
    void Bind(const std::string& code, const std::string& topicFolder);
    int kind() const { return kind_; }
    const std::string& dataPath() const { return dataPath_; }
    const TopicBinding& binding() const { return binding_; }

    // The library's show operation; its result.
    int ShowTopic(const std::string& key);

    // Copy, Select all, Print and "부분 인쇄": the library's; false for other commands.
    bool handleCommand(int id);
    bool updateCommand(int id, QAction* action);

signals:
    // The library reported a link: a command key.
    void linkActivated(const std::string& commandKey);

protected:
    bool event(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    int kind_ = -1;
    TopicBinding binding_;
    std::string dataPath_;
};

} // namespace qel
