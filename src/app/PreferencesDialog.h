#pragma once

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QSpinBox;

namespace clipnab {

class DownloadSettings;

// The download preferences in one small dialog: the download folder, how many downloads run at
// once, resuming unfinished downloads at start, asking before saving a video again, and the
// clipboard watch. It shows the settings given and writes them back only when accepted.
class PreferencesDialog final : public QDialog
{
    Q_OBJECT
public:
    // `defaultFolder` is where videos go while no folder is set; the box shows it greyed.
    PreferencesDialog(const DownloadSettings &settings, const QString &defaultFolder,
                      QWidget *parent = nullptr);

    // Writes what the dialog shows into `settings`.
    void save(DownloadSettings &settings) const;

private:
    void chooseFolder();

    QLineEdit *m_folder = nullptr;
    QSpinBox *m_atOnce = nullptr;
    QCheckBox *m_resumeAtStart = nullptr;
    QCheckBox *m_askAgain = nullptr;
    QCheckBox *m_watchClipboard = nullptr;
};

} // namespace clipnab
