#include "WindowTest.h"

#include <QApplication>
#include <QSettings>

// Fontconfig keeps a cache it never frees once the window has drawn text; the leak checker
// of the sanitizer build must not take that for a fault of ours.
extern "C" const char *__lsan_default_suppressions()
{
    return "leak:libfontconfig.so\n";
}

namespace {

// Notes the status text each time the status line paints a new one; the window repaints the
// line at will while a job runs, which shows no new line.
class PaintRecorder : public QObject {
public:
    PaintRecorder(QLabel *label, QStringList &lines) : m_label(label), m_lines(lines) {}
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == m_label && event->type() == QEvent::Paint && (m_lines.isEmpty() || m_lines.last() != m_label->text()))
            m_lines.append(m_label->text());
        return false;
    }

private:
    QLabel *m_label;
    QStringList &m_lines;
};

} // namespace

void WindowTest::SetUp()
{
    if (!QApplication::instance()) {
        static int argc = 1;
        static char name[] = "test_window";
        static char *argv[] = {name, nullptr};
        new QApplication(argc, argv);   // lives until the process ends, as an application does
    }
    ASSERT_TRUE(m_settings.isValid() && m_files.isValid());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_settings.path());
    for (const ServiceSetting &setting : ServiceConfig::allSettings())
        qunsetenv(setting.environmentVariable.toLatin1().constData());
    // Every catalogue, MusicBrainz included, is the in-process demo: tests never leave the machine.
    m_window = std::make_unique<MainWindow>(DemoCatalogue::starter(), true);
    m_window->resize(1280, 800);
    m_window->show();
    m_window->activateWindow();
    QApplication::processEvents();
    m_statusWatcher = std::make_unique<PaintRecorder>(status(), m_statusLines);
    status()->installEventFilter(m_statusWatcher.get());
}
