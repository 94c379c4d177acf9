// The remembered settings (settings.h).
#include "settings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QStringList>

namespace kesmora {

std::unique_ptr<QSettings> programSettings() {
    return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                       QCoreApplication::organizationName(), QCoreApplication::applicationName());
}

void rememberSetting(const QString& key, const QVariant& value) {
    const std::unique_ptr<QSettings> s = programSettings();
    if (!s->isWritable()) return;
    s->setValue(key, value);
    s->sync();
}

void forgetSettings() {
    const std::unique_ptr<QSettings> s = programSettings();
    s->clear();
    s->sync();
    // Qt leaves a file it could not read as it is; forgotten means gone.
    if (s->status() != QSettings::NoError) QFile::remove(s->fileName());
}

namespace {

// The stored text of a key, as the file holds it; values written in this run are read the same way.
std::optional<QString> storedText(const QString& key) {
    const std::unique_ptr<QSettings> s = programSettings();
    const QVariant v = s->value(key);
    if (!v.isValid() || !v.canConvert<QString>()) return std::nullopt;
    return v.toString();
}

} // namespace

std::optional<bool> rememberedBool(const QString& key) {
    const std::optional<QString> text = storedText(key);
    if (!text) return std::nullopt;
    if (*text == QLatin1String("true")) return true;
    if (*text == QLatin1String("false")) return false;
    return std::nullopt;
}

std::optional<int> rememberedInt(const QString& key, int low, int high) {
    const std::optional<QString> text = storedText(key);
    if (!text) return std::nullopt;
    bool ok = false;
    const int value = text->trimmed().toInt(&ok); // QString::toInt reads C digits whatever the locale
    if (!ok || value < low || value > high) return std::nullopt;
    return value;
}

QString placeText(const QRect& place) {
    return QStringLiteral("%1 %2 %3 %4").arg(place.x()).arg(place.y()).arg(place.width()).arg(place.height());
}

bool onExistingScreen(const QRect& place) {
    const QPoint corner = place.topLeft();
    const QPoint titleBar(place.center().x(), place.top());
    return QGuiApplication::screenAt(corner) != nullptr && QGuiApplication::screenAt(titleBar) != nullptr;
}

std::optional<QRect> placeFromText(const QString& text, const QSize& largest) {
    const QStringList parts = text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (parts.size() != 4) return std::nullopt;
    int numbers[4] = {};
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        numbers[i] = parts[i].toInt(&ok);
        if (!ok || numbers[i] < -100000 || numbers[i] > 100000) return std::nullopt;
    }
    const QRect place(numbers[0], numbers[1], numbers[2], numbers[3]);
    if (place.width() <= 0 || place.height() <= 0 || place.width() > largest.width() ||
        place.height() > largest.height())
        return std::nullopt;
    if (!onExistingScreen(place)) return std::nullopt;
    return place;
}

void rememberPlace(const QString& key, const QRect& place) {
    rememberSetting(key, placeText(place));
}

std::optional<QRect> rememberedPlace(const QString& key) {
    const std::optional<QString> text = storedText(key);
    return text ? placeFromText(*text) : std::nullopt;
}

QString rememberedFolder(const QString& kind) {
    const std::optional<QString> text = storedText(QStringLiteral("folders/") + kind);
    if (!text || text->isEmpty() || !QFileInfo(*text).isDir()) return {};
    return *text;
}

void rememberFolderOf(const QString& kind, const QString& file) {
    if (file.isEmpty()) return;
    rememberSetting(QStringLiteral("folders/") + kind, QFileInfo(file).absolutePath());
}

} // namespace kesmora
