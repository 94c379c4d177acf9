// What the program remembers from one run to the next: the menu switches, the tool windows, the
// main window's place, the file dialogs' folders and the choices of the export and net dialogs.
// They stand in an INI file in the user's configuration folder (QSettings with the organisation
// and application names main sets). The start state (category, body, mode, colours, turn) is never
// among them. Every value is checked when it is read: a damaged, missing or unwritable file only
// means that nothing is remembered.
#pragma once

#include <QRect>
#include <QSettings>
#include <QString>

#include <array>
#include <memory>
#include <optional>

namespace kesmora {

// The checkable menu items remembered by their object names; the window restores them as if they
// had been clicked.
inline constexpr std::array<const char*, 5> kRememberedSwitches{"showHidden", "M18", "canonicalAction",
                                                                "correspondenceAction", "animateTransitions"};

// The program's settings, opened afresh (Qt shares what it has read between such objects).
std::unique_ptr<QSettings> programSettings();

// Writes a value; a file that cannot be written is no error, the value is then not remembered.
void rememberSetting(const QString& key, const QVariant& value);
// Forgets every remembered setting, a damaged file too.
void forgetSettings();

// A remembered switch: its value when the file holds "true" or "false" there, else nothing.
std::optional<bool> rememberedBool(const QString& key);
// A remembered whole number from low to high, else nothing.
std::optional<int> rememberedInt(const QString& key, int low, int high);

// A window's place as "x y width height" (written in the C locale's digits), and read back only
// when it is well formed, no larger than `largest` and lies on a screen that exists now: its top
// left corner and the middle of its top edge (where the title bar is) both on the screens.
QString placeText(const QRect& place);
std::optional<QRect> placeFromText(const QString& text, const QSize& largest = QSize(20000, 20000));
bool onExistingScreen(const QRect& place);
void rememberPlace(const QString& key, const QRect& place);
std::optional<QRect> rememberedPlace(const QString& key);

// The folder a file dialog of this kind ("open", "picture", …) showed last, and remembering the
// folder of a file chosen in it; an empty string when none is remembered or it no longer exists.
QString rememberedFolder(const QString& kind);
void rememberFolderOf(const QString& kind, const QString& file);

} // namespace kesmora
