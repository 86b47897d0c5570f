#include "app/SavedLayout.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace clipnab {

SavedLayout SavedLayout::load(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = file.errorString();
        return {};
    }
    return fromJson(file.readAll(), error);
}

SavedLayout SavedLayout::fromJson(const QByteArray &json, QString *error)
{
    SavedLayout layout;
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(json, &parseError);
    if (!doc.isObject()) {
        if (error)
            *error = parseError.errorString();
        return layout;
    }
    const QJsonArray controls = doc.object().value(QStringLiteral("controls")).toArray();
    for (const QJsonValue &value : controls) {
        const QJsonObject o = value.toObject();
        ControlRecord record;
        record.name = o.value(QStringLiteral("name")).toString();
        record.classId = o.value(QStringLiteral("class")).toString();
        record.container = o.value(QStringLiteral("container")).toString();
        record.leftTwips = o.value(QStringLiteral("left")).toInt();
        record.topTwips = o.value(QStringLiteral("top")).toInt();
        record.toolTip = o.value(QStringLiteral("tooltip")).toString();
        record.bag = PropertyBag::fromJson(o.value(QStringLiteral("bag")).toObject());
        layout.m_controls.append(std::move(record));
    }
    return layout;
}

} // namespace clipnab
