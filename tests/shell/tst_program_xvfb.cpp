#include "document/toolrun.h"
#include "support/documentfixture.h"

#include <QtTest>

#include <xcb/xcb.h>

#include <cstdlib>

// The real program on a real X server: it starts, shows its window and keeps running until it
// is closed; a close asked while a lesson opens ends it once the lesson is there. Driven from
// outside as a user and a window manager would: xdotool clicks at the toolbar's places on a
// 1920 x 1080 screen and types into its dialogs.
class tst_Program : public QObject
{
    Q_OBJECT

private slots:
    void startsAndKeepsRunning();
    void closedWhileALessonOpens_data();
    void closedWhileALessonOpens();
};

namespace {

// Runs xdotool; lines (when given) gets what it printed, a line each (the windows found). A
// search with --sync waits for its window.
bool xdo(const QStringList &arguments, const QString &folder, QStringList *lines = nullptr)
{
    const ToolRun run = runTool(QStringLiteral("xdotool"), arguments, folder, 60000);
    if (lines)
        *lines = QString::fromUtf8(run.output).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    return run.ok;
}

// A window manager's close of window (its close button, Alt+F4): WM_DELETE_WINDOW.
void askToClose(const QString &window)
{
    xcb_connection_t *connection = xcb_connect(nullptr, nullptr);
    const auto atom = [connection](const char *name) {
        xcb_intern_atom_reply_t *reply = xcb_intern_atom_reply(
                connection, xcb_intern_atom(connection, 0, uint16_t(qstrlen(name)), name), nullptr);
        const xcb_atom_t found = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
        std::free(reply);
        return found;
    };
    xcb_client_message_event_t message = {};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = window.toUInt();
    message.type = atom("WM_PROTOCOLS");
    message.data.data32[0] = atom("WM_DELETE_WINDOW");
    message.data.data32[1] = XCB_CURRENT_TIME;
    // Checked: the server has handled it before the connection goes, which could drop it.
    std::free(xcb_request_check(connection,
                                xcb_send_event_checked(connection, 0, message.window,
                                                       XCB_EVENT_MASK_NO_EVENT,
                                                       reinterpret_cast<const char *>(&message))));
    xcb_disconnect(connection);
}

} // namespace

void tst_Program::startsAndKeepsRunning()
{
    QProcess program;
    program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    program.start(QStringLiteral(VELTORINA_PROGRAM), QStringList());
    QVERIFY(program.waitForStarted(10000));
    QVERIFY2(!program.waitForFinished(4000), "the program ended on its own");
    QCOMPARE(program.state(), QProcess::Running);
    program.terminate();
    QVERIFY(program.waitForFinished(10000));
}

void tst_Program::closedWhileALessonOpens_data()
{
    QTest::addColumn<bool>("barClosed");
    QTest::newRow("the board's window") << false;
    QTest::newRow("the progress bar's window") << true;
}

// A long lesson opened from the file palette, and a window closed while the bar shows: the
// program ends once the lesson is there, as it does for a close asked before the bar came.
void tst_Program::closedWhileALessonOpens()
{
    QFETCH(bool, barClosed);
    QTemporaryDir folder; // the program's current directory and TMPDIR: its "init", its work
    const QString lesson = folder.filePath(QStringLiteral("lesson.iwb"));
    QVERIFY(DocumentFixture::makeBigLesson(lesson, 300));
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("TMPDIR"), folder.path());
    program.setProcessEnvironment(environment);
    program.setWorkingDirectory(folder.path());
    program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    program.setStandardOutputFile(QProcess::nullDevice());
    program.start(QStringLiteral(VELTORINA_PROGRAM), QStringList());
    QVERIFY(program.waitForStarted(10000));
    // The program's shown windows named as the last argument; the bar has no title of its own.
    const QStringList search = QStringLiteral("search --all --onlyvisible --pid %1 --name")
                                       .arg(program.processId())
                                       .split(' ');
    QStringList board;
    QVERIFY(xdo(search + QStringList{ "--sync", "^Veltorisa$" }, folder.path(), &board));
    // The file palette's button, then its open entry (the second click reaches the palette the
    // first one opens, however late they are taken), and the lesson named in the file dialog.
    const QStringList open = QStringLiteral("mousemove 727 133 click 1 mousemove 721 231 click 1 "
                                            "search --sync --onlyvisible --name ^Abrir.Archivo$ "
                                            "windowfocus --sync type --delay 10")
                                     .split(' ');
    QVERIFY(xdo(open + QStringList{ lesson }, folder.path()));
    QVERIFY(xdo({ "key", "Return" }, folder.path()));
    // Once the dialog has gone with its list of names, the one window without a title is the bar.
    QTRY_VERIFY_WITH_TIMEOUT(!xdo(search + QStringList{ "^Abrir Archivo$" }, folder.path()), 60000);
    QStringList bar;
    QTRY_VERIFY_WITH_TIMEOUT(
            xdo(search + QStringList{ "^$" }, folder.path(), &bar) && !bar.isEmpty(), 60000);
    askToClose(barClosed ? bar.first() : board.value(0));
    QVERIFY2(xdo(search + QStringList{ "^$" }, folder.path()),
             "the open was over before the close was asked");
    QVERIFY2(program.waitForFinished(60000), "the close was lost");
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 0);
}

QTEST_MAIN(tst_Program)
#include "tst_program_xvfb.moc"
