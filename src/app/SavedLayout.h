#pragma once

#include "platform/PropertyBag.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace clipnab {

// One instance of our own controls in a saved window layout.
struct ControlRecord
{
    QString name;
    QString classId;   // the control's kClassId
    QString container; // the window's name or a panel's name
    int leftTwips = 0;
    int topTwips = 0;
    QString toolTip; // the host's own tooltip text for the instance
    PropertyBag bag; // includes "_extentx" and "_extenty" in twips
};

// A window's saved layout, read from its JSON resource.
class SavedLayout
{
public:
    // Empty when the file cannot be read or parsed; `error` says why.
    static SavedLayout load(const QString &path, QString *error = nullptr);
    // The same from the file's bytes.
    static SavedLayout fromJson(const QByteArray &json, QString *error = nullptr);

    const QList<ControlRecord> &controls() const { return m_controls; }
    bool isEmpty() const { return m_controls.isEmpty(); }

private:
    QList<ControlRecord> m_controls;
};

} // namespace clipnab
