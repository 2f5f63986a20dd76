// Exceptions that reach the event loop of the program.
#include "app/application.h"

#include "../support/tempdir.h"
#include "platform/codec.h"
#include "platform/database.h"
#include "platform/messagesink.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <gtest/gtest.h>
#include <stdexcept>

using namespace qel;

namespace {

// Runs a query on a table that the content no longer has whenever it gets a user event.
class FailingQuery : public QObject {
public:
    explicit FailingQuery(Database& db) : db_(db) {}
    int answered = 0;

protected:
    bool event(QEvent* e) override {
        if (e->type() == QEvent::User)
            RecordSet(db_, "select body from VRA where volcode='gen'");
        if (e->type() == QEvent::User + 1)
            throw std::logic_error("not a database fault");
        if (e->type() == QEvent::User + 2)
            ++answered;
        return QObject::event(e);
    }

private:
    Database& db_;
};

struct Shown {
    std::string text, caption;
};

} // namespace

TEST(Application, FailingHandlerIsReportedAndTheLoopGoesOn) {
    TempDir dir;
    const std::string file = (dir.path() / "content.db").string();
    Database(file, Database::Mode::Create).execute("create table VRA (volcode TEXT, body TEXT)");
    Database db(file, Database::Mode::ReadOnly);
    // The table goes while the program runs: the query fails at run time.
    Database(file, Database::Mode::ReadWrite).execute("drop table VRA");

    std::vector<Shown> shown;
    setMessageHandler([&shown](const std::string& text, const std::string& caption) {
        shown.push_back({cp949ToUtf8(text), cp949ToUtf8(caption)});
    });
    FailingQuery receiver(db);
    QCoreApplication::postEvent(&receiver, new QEvent(QEvent::User));
    QCoreApplication::postEvent(&receiver, new QEvent(QEvent::Type(QEvent::User + 1)));
    QCoreApplication::postEvent(&receiver, new QEvent(QEvent::Type(QEvent::User + 2)));
    // Through the real event loop, as in the program.
    QTimer::singleShot(0, qApp, &QCoreApplication::quit);
    QCoreApplication::exec();
    setMessageHandler(nullptr);

    EXPECT_EQ(receiver.answered, 1);
    EXPECT_TRUE(db.isOpen());
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].caption, "데이타베이스 오류");
    EXPECT_NE(shown[0].text.find("데이타 파일을 읽는 중에 오류가 생겼습니다"), std::string::npos);
    EXPECT_EQ(shown[1].caption, "QEL CD-ROM 성경");
}
