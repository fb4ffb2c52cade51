#include "platform/qt/QtUserStore.h"

namespace spectrel::platform::qt {

namespace {
QString rootOf(const QString& organisation, const QString& application) {
    return organisation.isEmpty() ? QStringLiteral("Software\\") + application
                                  : QStringLiteral("Software\\") + organisation + QStringLiteral("\\") + application;
}
}  // namespace

QtUserStore::QtUserStore(const QString& organisation, const QString& application)
    : QtUserStore(std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, organisation, application),
                  organisation, application) {}

QtUserStore::QtUserStore(std::unique_ptr<QSettings> settings, const QString& organisation, const QString& application)
    : settings_(std::move(settings)), rootPath_(rootOf(organisation, application)) {}

std::unique_ptr<QtUserStore> QtUserStore::onIniFile(const QString& path, const QString& organisation,
                                                    const QString& application) {
    return std::unique_ptr<QtUserStore>(
        new QtUserStore(std::make_unique<QSettings>(path, QSettings::IniFormat), organisation, application));
}

QString QtUserStore::settingsKey(const std::string& keyPath, const std::string& section,
                                 const std::string& name) const {
    QString path = QString::fromStdString(keyPath);
    // QSettings already sits on the application's own key; a path below it becomes a group.
    if (path.compare(rootPath_, Qt::CaseInsensitive) == 0) {
        path.clear();
    } else if (path.startsWith(rootPath_ + QStringLiteral("\\"), Qt::CaseInsensitive)) {
        path = path.mid(rootPath_.size() + 1);
    }
    QStringList parts = path.split(QLatin1Char('\\'), Qt::SkipEmptyParts);
    parts << QString::fromStdString(section) << QString::fromStdString(name);
    parts.removeAll(QString());
    return parts.join(QLatin1Char('/'));
}

std::optional<std::string> QtUserStore::readValue(const std::string& keyPath, const std::string& section,
                                                  const std::string& name) {
    const QString key = settingsKey(keyPath, section, name);
    if (!settings_->contains(key)) return std::nullopt;
    return settings_->value(key).toString().toStdString();
}

void QtUserStore::writeValue(const std::string& keyPath, const std::string& section, const std::string& name,
                             const std::string& value) {
    settings_->setValue(settingsKey(keyPath, section, name), QString::fromStdString(value));
}

bool QtUserStore::flush() {
    settings_->sync();
    return settings_->status() == QSettings::NoError;
}

}  // namespace spectrel::platform::qt
