#include "window/PreferencesDialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSettings>
#include <QVBoxLayout>
#include <algorithm>

PreferencesDialog::PreferencesDialog(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(tr("Service settings"));
    auto *layout = new QVBoxLayout(this);
    auto *intro = new QLabel(tr("Credentials issued by the catalogue service and the host of each storefront. "
                                "Leave a field empty to use the built-in value. Without credentials, "
                                "Tagwright searches its bundled demo catalogue."),
                             this);
    intro->setWordWrap(true);
    layout->addWidget(intro);

    auto *form = new QFormLayout;
    layout->addLayout(form);
    struct Row {
        ServiceSetting setting;
        QString label;
        bool secret;
    };
    QList<Row> rows{{ServiceConfig::accessKeySetting(), tr("Access key:"), false},
                    {ServiceConfig::secretKeySetting(), tr("Secret key:"), true}};
    // The hosts in the order of the window's storefront buttons.
    QList<Storefront> stores = ServiceConfig::storefronts();
    std::sort(stores.begin(), stores.end(),
              [](const Storefront &a, const Storefront &b) { return a.buttonTag < b.buttonTag; });
    for (const Storefront &store : stores)
        rows.append({store.host, tr("Host %1:").arg(store.country), false});

    QSettings settings(QStringLiteral("Tagwright"), QStringLiteral("Tagwright"));
    for (const Row &row : rows) {
        const QString &key = row.setting.settingsKey;
        const QString &environment = row.setting.environmentVariable;
        auto *field = new QLineEdit(settings.value(key).toString(), this);
        field->setObjectName(key);
        if (row.secret)
            field->setEchoMode(QLineEdit::PasswordEchoOnEdit);
        field->setMinimumWidth(320);
        if (!qEnvironmentVariableIsEmpty(environment.toLatin1().constData()))
            field->setToolTip(tr("%1 is set in the environment and wins over this value").arg(environment));
        else
            field->setToolTip(tr("Stored in the settings; %1 in the environment would win").arg(environment));
        form->addRow(row.label, field);
        m_settings.append({row.setting, field});
    }

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Save | QDialogButtonBox::Cancel, this);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        save();
        accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void PreferencesDialog::save()
{
    QSettings settings(QStringLiteral("Tagwright"), QStringLiteral("Tagwright"));
    for (const Setting &setting : m_settings) {
        const QString value = setting.field->text().trimmed();
        if (value.isEmpty())
            settings.remove(setting.setting.settingsKey);
        else
            settings.setValue(setting.setting.settingsKey, value);
    }
}
