// Every key and mouse action the program answers to, as "Hilfe › Tastenkürzel" and the help page
// on operating the program list them.
#pragma once

#include <QString>

#include <array>

namespace kesmora {

struct ShortcutEntry {
    const char* keys;   // UTF-8, as a user reads them: "Strg+O", "Pfeil auf / Pfeil ab"
    const char* where;  // where it works, empty for everywhere in the main window
    const char* effect; // what it does
};

inline constexpr std::array<ShortcutEntry, 25> kShortcuts{{
    {"F1", "", "Hilfe öffnen: die Einführung, im Fenster „Eigenschaften“ die Erklärung der Eigenschaften"},
    {"Eingabe", "", "Körper neu darstellen (wie „Darstellung“)"},
    {"F2", "", "Drehung starten und anhalten (wie „Rotation“ / „Abbruch“)"},
    {"F3", "", "Fenster „Eigenschaften“ zeigen und verbergen"},
    {"F4", "", "Übergang zum Dual zeigen und verbergen"},
    {"F6", "", "Netz falten: das Netz flach und wie es sich zum Körper faltet"},
    {"Strg+Z", "", "die zuletzt angewandte Operation zurücknehmen"},
    {"Strg+O", "", "Polyederdatei öffnen (OFF, OBJ)"},
    {"Strg+S", "", "Bild speichern (PNG, SVG)"},
    {"Strg+E", "", "Körper oder dualen Körper exportieren (OFF, OBJ, STL)"},
    {"Strg+P", "", "Netz drucken"},
    {"Esc", "", "Beenden"},
    {"F11", "", "Vollbild: nur die Zeichnung, über den ganzen Bildschirm; F11 oder Esc beendet es"},
    {"1 … 7", "im Vollbild", "Darstellung wählen (Kantenmodell … Durchdringung 3)"},
    {"+ / −", "im Vollbild", "vergrößern / verkleinern"},
    {"Pfeil auf / Pfeil ab", "in der Körperliste", "vorigen / nächsten Körper wählen und darstellen"},
    {"Bild auf / Bild ab, Pos1 / Ende", "in der Körperliste",
     "eine Seite weiter / zum ersten oder letzten Körper"},
    {"Pfeil auf / Pfeil ab", "in einem Drehwinkel-Feld", "Drehwinkel um 1 ändern"},
    {"Tab / Umschalt+Tab", "", "zum nächsten / vorigen Bedienelement"},
    {"Leertaste", "auf einem Knopf", "Knopf drücken, Kästchen umschalten"},
    {"Mausrad", "über der Zeichenfläche", "vom Körper weg drehen: vergrößern, zu sich hin: verkleinern"},
    {"Ziehen mit der linken Maustaste", "auf der Zeichenfläche", "Körper drehen (ein Bildpunkt je Grad)"},
    {"Datei auf das Fenster ziehen", "", "Polyederdatei öffnen"},
    {"Alt+Links / Alt+Rechts", "im Hilfefenster", "zur vorigen / nächsten Seite"},
    {"Esc", "im Hilfefenster", "Hilfe schließen"},
}};

// The entries as an HTML table, one row each, the keys in the first column.
QString shortcutTableHtml();

} // namespace kesmora
