// The window program as a user starts it.
#include "support/TestPaths.h"

#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(AppTest, DemoScreenshotIsA1280By800PictureOfTheWindow)
{
    QTemporaryDir home;
    ASSERT_TRUE(home.isValid());
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    environment.insert("XDG_CONFIG_HOME", home.path());
    // Under the sanitizer build: fontconfig's never-freed cache is not the program's leak.
    environment.insert("LSAN_OPTIONS", "suppressions=" + testDataDir() + "/window/fontconfig.lsan");
    program.setProcessEnvironment(environment);
    const QString picture = home.filePath("window.png");
    program.start(binDir() + "/tagwright", {"--demo", "--screenshot", picture});
    ASSERT_TRUE(program.waitForFinished(60000));
    EXPECT_EQ(program.exitCode(), 0) << program.readAllStandardError().toStdString();

    const QImage image(picture);
    EXPECT_EQ(image.size(), QSize(1280, 800));
    // The demo search filled the window: far more than one colour on it.
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); y += 7)
        for (int x = 0; x < image.width(); x += 7)
            colours.insert(image.pixel(x, y));
    EXPECT_GT(colours.size(), 50);
}
