#include "app/PreferencesDialog.h"

#include "downloads/DownloadSettings.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

namespace clipnab {

PreferencesDialog::PreferencesDialog(const DownloadSettings &settings, const QString &defaultFolder,
                                     QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmPreferences"));
    setWindowTitle(QStringLiteral("Preferences"));

    m_folder = new QLineEdit(QDir::toNativeSeparators(settings.downloadFolder()), this);
    m_folder->setObjectName(QStringLiteral("txtFolder"));
    m_folder->setPlaceholderText(QDir::toNativeSeparators(defaultFolder));
    m_folder->setClearButtonEnabled(true);
    auto *browse = new QPushButton(tr("&Browse..."), this);
    browse->setObjectName(QStringLiteral("cmdBrowse"));
    connect(browse, &QPushButton::clicked, this, &PreferencesDialog::chooseFolder);
    auto *folderRow = new QHBoxLayout;
    folderRow->addWidget(m_folder, 1);
    folderRow->addWidget(browse);

    m_atOnce = new QSpinBox(this);
    m_atOnce->setObjectName(QStringLiteral("spnAtOnce"));
    m_atOnce->setRange(DownloadSettings::kMinDownloadsAtOnce,
                       DownloadSettings::kMaxDownloadsAtOnce);
    m_atOnce->setValue(settings.downloadsAtOnce());

    m_resumeAtStart = new QCheckBox(tr("&Resume unfinished downloads at start"), this);
    m_resumeAtStart->setObjectName(QStringLiteral("chkResume"));
    m_resumeAtStart->setChecked(settings.resumeAtStart());
    m_askAgain = new QCheckBox(tr("&Ask before saving a video again"), this);
    m_askAgain->setObjectName(QStringLiteral("chkAskAgain"));
    m_askAgain->setChecked(settings.askBeforeSavingAgain());
    m_watchClipboard = new QCheckBox(tr("&Watch the clipboard for video addresses"), this);
    m_watchClipboard->setObjectName(QStringLiteral("chkWatch"));
    m_watchClipboard->setChecked(settings.watchClipboard());

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *form = new QFormLayout(this);
    form->addRow(tr("Download &folder:"), folderRow);
    form->addRow(tr("&Downloads at once:"), m_atOnce);
    form->addRow(m_resumeAtStart);
    form->addRow(m_askAgain);
    form->addRow(m_watchClipboard);
    form->addRow(buttons);
}

void PreferencesDialog::chooseFolder()
{
    const QString start =
        m_folder->text().isEmpty() ? m_folder->placeholderText() : m_folder->text();
    const QString folder = QFileDialog::getExistingDirectory(this, tr("Download folder"), start);
    if (!folder.isEmpty())
        m_folder->setText(QDir::toNativeSeparators(folder));
}

void PreferencesDialog::save(DownloadSettings &settings) const
{
    const QString folder = m_folder->text().trimmed();
    settings.setDownloadFolder(
        folder.isEmpty() ? QString() : QDir::cleanPath(QDir::fromNativeSeparators(folder)));
    settings.setDownloadsAtOnce(m_atOnce->value());
    settings.setResumeAtStart(m_resumeAtStart->isChecked());
    settings.setAskBeforeSavingAgain(m_askAgain->isChecked());
    settings.setWatchClipboard(m_watchClipboard->isChecked());
    settings.sync();
}

} // namespace clipnab
