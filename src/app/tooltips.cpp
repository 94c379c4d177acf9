#include "tooltips.h"

#include <QAction>
#include <QGroupBox>
#include <QMenu>
#include <QRadioButton>
#include <QWidget>

namespace kesmora {

namespace {

struct Tip {
    const char* name; // the control's layout name
    const char* text; // UTF-8
};

constexpr Tip kWidgetTips[] = {
    {"P1Caption", "Der gezeigte Körper und sein dualer Körper"},
    {"PB1", "Ziehen mit der linken Maustaste dreht den Körper, das Mausrad vergrößert und verkleinert"},
    {"t3", "Drehung in der x-y-Ebene: Grad je Schritt der Animation (−15 bis 15)"},
    {"t4", "Drehung in der y-z-Ebene: Grad je Schritt der Animation (−15 bis 15)"},
    {"t5", "Drehung in der x-z-Ebene: Grad je Schritt der Animation (−15 bis 15)"},
    {"D1", "Den gewählten Körper bauen und in seiner Ausgangslage zeichnen (Eingabetaste)"},
    {"D2", "Die Drehung starten oder anhalten (F2)"},
    {"CB1", "Alle Ecken beider Körper mit einem gelben Punkt markieren"},
    {"RB1", "Kantenmodell: alle Kanten schwarz, auch die verdeckten; Körper links, dualer Körper rechts"},
    {"RB2", "Verdeckte Kanten: weiße Flächen verdecken, was hinten liegt"},
    {"RB3", "Farbige Flächen: jede Flächenart in ihrer Farbe (Farbknöpfe links)"},
    {"RB4", "Bunte Flächen: die Flächen der Reihe nach in vielen Farben"},
    {"RB5", "Durchdringung: beide Körper ineinander als Kantenmodell, der Körper schwarz, der duale blau"},
    {"Rb6", "Durchdringung 2: der duale Körper gelb und undurchsichtig, der Körper mit roten Kanten darum"},
    {"rb7", "Durchdringung 3: wie Durchdringung 2, die vordere Hälfte des Körpers wie getöntes Glas darüber"},
    {"R1", "Welche Körper die Liste rechts anbietet"},
    {"LB1", "Körper wählen: Klick oder Pfeiltasten; der gewählte Körper wird sofort gezeichnet"},
};

// The category group's items, by their captions.
constexpr Tip kCategoryTips[] = {
    {"Polyeder", "Platonische Körper, Prismen, Antiprismen, Doppelpyramiden und weitere Polyeder"},
    {"Archimedische Körper", "Archimedische Körper und ihre dualen Körper, die catalanischen Körper"},
    {"Johnson Polyeder", "Konvexe Körper aus regelmäßigen Vielecken; ihr dualer Körper ist quasidual"},
};

constexpr Tip kActionTips[] = {
    {"openAction", "Eine Polyederdatei (OFF oder OBJ) öffnen und mit ihrem dualen Körper zeigen"},
    {"savePictureAction", "Die Zeichenfläche, wie sie zu sehen ist, als PNG- oder SVG-Bild speichern"},
    {"exportAction", "Körper oder dualen Körper als OFF-, OBJ- oder STL-Datei speichern"},
    {"saveNetAction", "Ein Netz zum Ausschneiden und Kleben als PDF oder SVG speichern"},
    {"printNetAction", "Ein Netz zum Ausschneiden und Kleben drucken"},
    {"printPictureAction", "Die Zeichenfläche drucken"},
    {"M1", "Das Programm beenden (Esc)"},
    {"M2", "Die Drehung starten oder anhalten (F2)"},
    {"M15", "Das Bild vergrößern"},
    {"M16", "Das Bild verkleinern"},
    {"M17", "Zurück zur ursprünglichen Größe; die Lage bleibt"},
    {"showHidden", "Auch Körper anbieten, die die Listen sonst nicht zeigen, etwa Sternkörper"},
    {"M18", "Als dualen Körper die polare Reziproke an der Kantenkugel zeigen"},
    {"propertiesAction", "Ecken, Kanten, Flächen, Winkel, Radien und mehr von Körper und dualem Körper (F3)"},
    {"introductionAction", "Erklärt duale Körper, die Darstellungen, die Kategorien und die Eigenschaften (F1)"},
    {"shortcutsAction", "Alle Tasten und Mausaktionen des Programms"},
    {"aboutAction", "Version und Lizenz"},
};

} // namespace

void addToolTips(QWidget& window) {
    for (const Tip& tip : kWidgetTips)
        if (auto* w = window.findChild<QWidget*>(QString::fromLatin1(tip.name))) w->setToolTip(QString::fromUtf8(tip.text));
    if (auto* group = window.findChild<QGroupBox*>(QStringLiteral("R1")))
        for (QRadioButton* item : group->findChildren<QRadioButton*>())
            for (const Tip& tip : kCategoryTips)
                if (item->text() == QString::fromUtf8(tip.name)) item->setToolTip(QString::fromUtf8(tip.text));
    for (const Tip& tip : kActionTips)
        if (auto* a = window.findChild<QAction*>(QString::fromLatin1(tip.name))) a->setToolTip(QString::fromUtf8(tip.text));
    // Menus show their items' tips while the mouse rests on an item.
    for (QMenu* menu : window.findChildren<QMenu*>())
        menu->setToolTipsVisible(true);
}

} // namespace kesmora
