#include "content/player.h"
#include "content/playercontrols.h"
#include "support/testsupport.h"

#include <QListView>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest>

// The player window on a machine without media plugins: the teacher is told, and the
// controls that could not work are disabled. The plugins are hidden by giving the program an
// empty plugin folder before the first media object looks for them.
class tst_PlayerNoService : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void warnsAndDisablesControls();

private:
    QTemporaryDir m_emptyPlugins;
};

void tst_PlayerNoService::initTestCase()
{
    QVERIFY(m_emptyPlugins.isValid());
    QCoreApplication::setLibraryPaths({ m_emptyPlugins.path() });
}

void tst_PlayerNoService::warnsAndDisablesControls()
{
    QString title;
    QString text;
    auto answered = TestSupport::answerNextModal([&](QWidget *dialog) {
        auto *box = qobject_cast<QMessageBox *>(dialog);
        QVERIFY(box);
        title = box->windowTitle();
        text = box->text();
        QCOMPARE(box->buttons().size(), 1);
        QVERIFY(TestSupport::clickButton(box, QStringLiteral("OK")));
    });
    Player window(QStringLiteral("/films/lesson.ogv"), nullptr);
    QVERIFY(*answered);
    QCOMPARE(title, QStringLiteral("Service not available"));
    QCOMPARE(text,
             QStringLiteral("The QMediaPlayer object does not have a valid service.\n"
                            "Please check the media service plugins are installed."));
    QVERIFY(!window.isPlayerAvailable());
    QVERIFY(!window.findChild<PlayerControls *>()->isEnabled());
    QVERIFY(!window.findChild<QListView *>()->isEnabled());
    QVERIFY(!window.findChild<QPushButton *>()->isEnabled());
}

QTEST_MAIN(tst_PlayerNoService)
#include "tst_playernoservice.moc"
