// What surrounds the window's work: where and how small it opens, the File and Help menus,
// quitting during a job, and the program's --help and --version without a display.
#include "WindowTest.h"

#include "common/LibraryVersions.h"
#include "support/Mp3Fixtures.h"
#include "window/WindowPlacement.h"

#include <QAccessible>
#include <QApplication>
#include <QFileDialog>
#include <QGroupBox>
#include <QMessageBox>
#include <QProcess>
#include <QScreen>
#include <QTableWidget>

TEST(WindowProgram, HelpAndVersionAnswerWithoutADisplay)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove("DISPLAY");
    environment.remove("WAYLAND_DISPLAY");
    environment.insert("QT_QPA_PLATFORM", "xcb");   // a window system that is not there
    for (const auto &[option, expected] : {std::pair{"--help", "Usage:"}, std::pair{"--version", "TagLib 1.13"}}) {
        QProcess program;
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(TAGWRIGHT_BIN_DIR "/tagwright"), {option});
        ASSERT_TRUE(program.waitForFinished(60000)) << option;
        EXPECT_EQ(program.exitCode(), 0) << program.readAllStandardError().toStdString();
        EXPECT_TRUE(program.readAllStandardOutput().contains(expected)) << option;
    }
}

TEST(WindowPlacement, TheWindowOpensWithinTheAvailableAreaButNotBelowItsMinimum)
{
    const QSize preferred(1280, 800), minimum(700, 450);
    const QSize frame = WindowPlacement::frameAllowance;
    const QList<std::tuple<QRect, QPoint, QSize>> cases{
        {{0, 0, 2560, 1400}, {(2560 - 1280 - frame.width()) / 2, (1400 - 800 - frame.height()) / 2}, preferred},
        {{0, 27, 960, 513}, {0, 27}, QSize(960, 513) - frame},   // 1920x1080 at scale factor 2, below a panel
        {{100, 0, 600, 400}, {100, 0}, minimum},
    };
    for (const auto &[available, position, size] : cases) {
        const WindowPlacement::Placement placement = WindowPlacement::placementIn(available, preferred, minimum);
        EXPECT_EQ(placement.position, position);
        EXPECT_EQ(placement.size, size);
    }
}

TEST_F(WindowTest, AtItsSmallestTheWindowFitsAScaledScreenAndShowsEveryControlWhole)
{
    const QSize smallest = window().minimumSizeHint().expandedTo(window().minimumSize());
    EXPECT_LE(smallest.width(), 960 - WindowPlacement::frameAllowance.width());
    EXPECT_LE(smallest.height(), 540 - 27 - WindowPlacement::frameAllowance.height());
    // On this screen, as far as the minimum allows.
    window().placeOnScreen();
    const QSize room = window().screen()->availableGeometry().size() - WindowPlacement::frameAllowance;
    EXPECT_LE(window().width(), std::max(room.width(), smallest.width()));
    EXPECT_LE(window().height(), std::max(room.height(), smallest.height()));

    window().resize(smallest);
    QApplication::processEvents();
    for (QWidget *control : window().findChildren<QWidget *>()) {
        if (!control->isVisible() || !(qobject_cast<QLineEdit *>(control) || qobject_cast<QAbstractButton *>(control)
                                       || qobject_cast<QLabel *>(control)))
            continue;
        const QSize whole = qobject_cast<QLineEdit *>(control) ? control->minimumSizeHint() : control->sizeHint();
        EXPECT_GE(control->width(), whole.width()) << control->objectName().toStdString();
        EXPECT_GE(control->height(), whole.height()) << control->objectName().toStdString();
    }
    // Every field, those of the album typed by hand included, holds a dozen characters.
    const QList<QLineEdit *> fields = window().findChildren<QLineEdit *>();
    EXPECT_TRUE(fields.contains(field("discs")));
    for (QLineEdit *field : fields)
        EXPECT_GE(field->width(), 12 * field->fontMetrics().averageCharWidth()) << field->objectName().toStdString();
}

TEST_F(WindowTest, AddFilesAndAddFolderListWhatTheDialogGivesAsADropDoes)
{
    for (const char *name : {"Set/CD2/1.mp3", "Set/CD1/10.mp3", "Set/CD1/9.mp3", "single.mp3"})
        ASSERT_TRUE(QDir().mkpath(QFileInfo(filePath(name)).path()) && Mp3Fixtures::writeMp3(filePath(name)));
    EXPECT_EQ(child<QAction>("addFilesAction")->shortcut(), QKeySequence(QStringLiteral("Ctrl+O")));
    const auto choose = [this](const QString &path) {
        auto *dialog = window().findChild<QFileDialog *>("addFilesDialog");
        ASSERT_TRUE(dialog && dialog->isVisible());
        dialog->selectFile(path);
        static_cast<QDialog *>(dialog)->accept();   // as its Open button does
        session().waitForJob();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    };
    button("addFolderButton")->click();
    choose(filePath("Set"));
    child<QAction>("addFilesAction")->trigger();
    choose(filePath("single.mp3"));
    EXPECT_EQ(*session().files(), QStringList({filePath("Set/CD1/9.mp3"), filePath("Set/CD1/10.mp3"), filePath("Set/CD2/1.mp3"),
                                                   filePath("single.mp3")}));
    // Each new control is read out by its label.
    for (const char *name : {"addFilesButton", "addFolderButton"})
        EXPECT_EQ(QAccessible::queryAccessibleInterface(button(name))->text(QAccessible::Name),
                  QString(button(name)->text()).remove(u'&'));
}

TEST_F(WindowTest, TheHelpMenuTellsTheVersionTheLibrariesAndEveryShortcut)
{
    child<QAction>("aboutAction")->trigger();
    auto *about = window().findChild<QMessageBox *>("about");
    ASSERT_TRUE(about && about->isVisible());
    EXPECT_TRUE(about->text().contains(LibraryVersions::application()));
    for (const QString &library : LibraryVersions::libraries())
        EXPECT_TRUE(about->informativeText().contains(library)) << library.toStdString();

    child<QAction>("shortcutsAction")->trigger();
    auto *table = window().findChild<QDialog *>("keyboardShortcuts")->findChild<QTableWidget *>();
    QStringList rows;
    for (int row = 0; row < table->rowCount(); ++row)
        rows.append(table->item(row, 0)->text() + " = " + table->item(row, 1)->text());
    for (const char *row : {"Ctrl+O = Add files", "Ctrl+Q = Quit", "Alt+S = Search", "Alt+O = Add folder", "Alt+H = Help menu",
                            "Delete, Backspace = Remove the selected rows of the focused table"})
        EXPECT_TRUE(rows.contains(row)) << row << "\n" << rows.join(u'\n').toStdString();
}
