#include "window/PreferencesDialog.h"

#include <QCheckBox>
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
    auto *intro = new QLabel(tr("Credentials issued by the catalogue service, the host of each storefront and the "
                                "addresses of MusicBrainz and the Cover Art Archive. Leave a field empty to use "
                                "the built-in value. Without credentials, Tagwright searches its bundled demo "
                                "catalogue."),
                             this);
    intro->setWordWrap(true);
    layout->addWidget(intro);

    auto *form = new QFormLayout;
    layout->addLayout(form);
    struct Row {
        ServiceSetting setting;
        QString label;
        QString builtIn; // shown greyed while the field is empty
    };
    QList<Row> rows{{ServiceConfig::accessKeySetting(), tr("Access key:"), {}},
                    {ServiceConfig::secretKeySetting(), tr("Secret key:"), {}}};
    // The hosts in the order of the window's storefront buttons.
    QList<Storefront> stores = ServiceConfig::storefronts();
    std::sort(stores.begin(), stores.end(),
              [](const Storefront &a, const Storefront &b) { return a.buttonTag < b.buttonTag; });
    for (const Storefront &store : stores)
        rows.append({store.host, tr("Host %1:").arg(store.country), store.defaultHost});
    rows.append({ServiceConfig::musicBrainzUrlSetting(), tr("MusicBrainz address:"), ServiceConfig::defaultMusicBrainzUrl});
    rows.append({ServiceConfig::coverArtUrlSetting(), tr("Cover Art Archive address:"), ServiceConfig::defaultCoverArtUrl});

    QSettings settings(QStringLiteral("Tagwright"), QStringLiteral("Tagwright"));
    for (const Row &row : rows) {
        const QString &key = row.setting.settingsKey;
        const QString &environment = row.setting.environmentVariable;
        auto *field = new QLineEdit(settings.value(key).toString(), this);
        field->setObjectName(key);
        field->setPlaceholderText(row.builtIn);
        field->setMinimumWidth(320);
        if (!qEnvironmentVariableIsEmpty(environment.toLatin1().constData()))
            field->setToolTip(tr("%1 is set in the environment and wins over this value").arg(environment));
        else
            field->setToolTip(tr("Stored in the settings; %1 in the environment would win").arg(environment));
        form->addRow(row.label, field);
        m_settings.append({row.setting, field, row.builtIn.startsWith(u"https://")});
        if (key == ServiceConfig::secretKeySetting().settingsKey)
            addSecretToggle(form, field);
    }

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Save | QDialogButtonBox::Cancel, this);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        save();
        accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void PreferencesDialog::addSecretToggle(QFormLayout *form, QLineEdit *secret)
{
    // Masked unless the user asks to see it, e.g. to check what was pasted.
    secret->setEchoMode(QLineEdit::Password);
    auto *show = new QCheckBox(tr("Show secret key"), this);
    show->setObjectName(QStringLiteral("showSecretKey"));
    connect(show, &QCheckBox::toggled, secret,
            [secret](bool shown) { secret->setEchoMode(shown ? QLineEdit::Normal : QLineEdit::Password); });
    form->addRow(QString(), show);
}

void PreferencesDialog::save()
{
    QSettings settings(QStringLiteral("Tagwright"), QStringLiteral("Tagwright"));
    for (const Setting &setting : m_settings) {
        QString value = setting.field->text().trimmed();
        // The addresses are bases that paths are added to.
        while (setting.isAddress && value.endsWith(u'/'))
            value.chop(1);
        if (value.isEmpty())
            settings.remove(setting.setting.settingsKey);
        else
            settings.setValue(setting.setting.settingsKey, value);
    }
}
