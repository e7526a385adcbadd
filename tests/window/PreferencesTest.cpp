#include "WindowTest.h"

#include "window/PreferencesDialog.h"

#include <QSettings>

TEST_F(WindowTest, CredentialsSavedInThePreferencesLeaveTheDemoCatalogue)
{
    ASSERT_TRUE(window().usesDemoCatalogue());
    EXPECT_TRUE(controller().serviceConfig().hosts.value("de").startsWith("127.0.0.1:"));

    PreferencesDialog dialog(&window());
    dialog.findChild<QLineEdit *>("Service/AccessKey")->setText("AKIAUSERKEY000000001");
    dialog.findChild<QLineEdit *>("Service/SecretKey")->setText(" secret ");
    dialog.findChild<QLineEdit *>("Service/Host/fr")->setText("catalogue.example:8080");
    dialog.save();
    window().applyServiceConfig();

    EXPECT_FALSE(window().usesDemoCatalogue());
    EXPECT_EQ(window().windowTitle(), "Tagwright");
    const ServiceConfig &config = controller().serviceConfig();
    EXPECT_EQ(config.accessKey, "AKIAUSERKEY000000001");
    EXPECT_EQ(config.secretKey, "secret");
    EXPECT_EQ(config.hosts.value("fr"), "catalogue.example:8080");
    EXPECT_EQ(config.hosts.value("de"), ServiceConfig::placeholders().hosts.value("de"));
    QSettings settings("Tagwright", "Tagwright");
    EXPECT_FALSE(settings.contains("Service/Host/de"));

    // Emptying a field removes the setting; without credentials the demo answers again.
    PreferencesDialog again(&window());
    EXPECT_EQ(again.findChild<QLineEdit *>("Service/Host/fr")->text(), "catalogue.example:8080");
    again.findChild<QLineEdit *>("Service/SecretKey")->clear();
    again.save();
    window().applyServiceConfig();
    EXPECT_FALSE(settings.contains("Service/SecretKey"));
    EXPECT_TRUE(window().usesDemoCatalogue());
    EXPECT_TRUE(window().windowTitle().contains("demo catalogue"));
}
