// Qt's dialogs for the window.
#include "dialogs.h"

#include "helpwindow.h"
#include "settings.h"

#include "export/figurefile.h"
#include "export/netlayout.h"

#include <QColorDialog>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QMessageBox>
#include <QPushButton>
#include <QPrintDialog>
#include <QPrinter>
#include <QSpinBox>
#include <QDoubleSpinBox>

#include <algorithm>
#include <iterator>

namespace kesmora {

namespace {

// A file name without a suffix gets the first one the chosen kind of file offers.
QString withSuffix(const QString& path, const QString& suffix) {
    return QFileInfo(path).suffix().isEmpty() ? path + QLatin1Char('.') + suffix : path;
}

struct MeshFormatEntry {
    const char* label;
    const char* suffix;
    MeshFormat format;
};
const MeshFormatEntry kMeshFormats[] = {{"OFF (Object File Format)", "off", MeshFormat::Off},
                                        {"OBJ (Wavefront)", "obj", MeshFormat::Obj},
                                        {"STL, binär", "stl", MeshFormat::Stl},
                                        {"STL, Text (ASCII)", "stl", MeshFormat::StlAscii}};

// OK and Cancel at the foot of a form.
void addButtons(QDialog& dialog, QFormLayout* form) {
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    form->addRow(buttons);
}

// The file dialogs remember their folders each by kind: opening, pictures, exports and nets.
QString folderKind(const Dialogs::FileRequest& request) {
    const QString& c = request.caption;
    if (!request.save) return QStringLiteral("open");
    if (c == QLatin1String("Bild speichern")) return QStringLiteral("picture");
    if (c == QLatin1String("Exportieren")) return QStringLiteral("export");
    if (c == QLatin1String("Netz speichern")) return QStringLiteral("net");
    return QStringLiteral("save");
}

class QtDialogs final : public Dialogs {
  public:
    explicit QtDialogs(QWidget* parent) : parent_(parent) {}

    QString chooseFile(const FileRequest& request) override {
        // The folder the same kind of dialog showed last; the suggested name in it.
        const QString kind = folderKind(request);
        const QString folder = rememberedFolder(kind);
        const QString start = folder.isEmpty()         ? request.suggestedName
                              : request.suggestedName.isEmpty() ? folder
                                                        : QDir(folder).filePath(request.suggestedName);
        const QString path = request.save ? QFileDialog::getSaveFileName(parent_, request.caption, start, request.filters)
                                          : QFileDialog::getOpenFileName(parent_, request.caption, start, request.filters);
        rememberFolderOf(kind, path);
        return path;
    }

    std::optional<ExportChoice> chooseExport(const QString& dualName, const QString& bodyName) override {
        return runExportDialog(parent_, dualName, bodyName, *this);
    }

    std::optional<NetChoice> chooseNet(bool save, const QStringList& figures, const QString& bodyName) override {
        return runNetDialog(parent_, save, figures, bodyName, *this);
    }

    std::optional<QSize> choosePictureSize(const QSize& shown) override {
        return runPictureSizeDialog(parent_, shown);
    }

    bool setUpPrinter(QPrinter& printer, const QString& title) override {
        QPrintDialog dialog(&printer, parent_);
        dialog.setWindowTitle(title);
        return dialog.exec() == QDialog::Accepted;
    }

    std::optional<QColor> chooseColour(const QColor& initial, const QString& title) override {
        const QColor c = QColorDialog::getColor(initial, parent_, title);
        if (!c.isValid()) return std::nullopt;
        return c;
    }

    std::optional<QString> askRecipe(const QString& current, const RecipeCheck& check) override {
        return runRecipeDialog(parent_, current, check);
    }

    void showError(const QString& text) override {
        QMessageBox::critical(parent_, QStringLiteral("Kesmora"), text);
    }

    void showInformation(const QString& title, const QString& text) override {
        QMessageBox::information(parent_, title, text);
    }

  private:
    QWidget* parent_;
};

} // namespace

QString fileNameFor(const QString& bodyName, const QString& suffix) {
    QString name = bodyName.trimmed().isEmpty() ? QStringLiteral("Kesmora") : bodyName.trimmed();
    for (QChar& c : name)
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c == QLatin1Char(':') || c == QLatin1Char('*') ||
            c == QLatin1Char('?') || c == QLatin1Char('"') || c == QLatin1Char('<') || c == QLatin1Char('>') ||
            c == QLatin1Char('|') || c.category() == QChar::Other_Control)
            c = QLatin1Char('-');
    return name + QLatin1Char('.') + suffix;
}

std::optional<Dialogs::ExportChoice> runExportDialog(QWidget* parent, const QString& dualName, const QString& bodyName,
                                                     Dialogs& files) {
    QDialog dialog(parent);
    dialog.setWindowTitle(QStringLiteral("Exportieren"));
    auto* form = new QFormLayout(&dialog);
    auto* figure = new QComboBox(&dialog);
    figure->setAccessibleName(QStringLiteral("Figur"));
    figure->addItem(QString::fromUtf8("Körper"));
    figure->addItem(dualName);
    auto* format = new QComboBox(&dialog);
    format->setAccessibleName(QStringLiteral("Format"));
    for (const MeshFormatEntry& f : kMeshFormats)
        format->addItem(QString::fromUtf8(f.label));
    figure->setToolTip(QString::fromUtf8("Den Körper oder seinen dualen Körper speichern"));
    format->setToolTip(QString::fromUtf8("OFF und OBJ für andere Programme, STL für den 3D-Druck"));
    auto* placement = new QComboBox(&dialog);
    placement->setAccessibleName(QStringLiteral("Lage"));
    placement->addItem(QString::fromUtf8("in Körpereinheiten"));
    placement->addItem(QString::fromUtf8("wie gezeigt"));
    placement->setToolTip(QString::fromUtf8(
        "In Körpereinheiten: um den Schwerpunkt der Ecken, nicht gedreht, Kantenlänge 1 (bei verschieden "
        "langen Kanten die längste 1); eine geöffnete Datei in ihren eigenen Koordinaten. Wie gezeigt: so "
        "gedreht und groß wie im Bild."));
    auto* edge = new QDoubleSpinBox(&dialog);
    edge->setAccessibleName(QString::fromUtf8("Längste Kante in Millimetern"));
    edge->setRange(0, 100000);
    edge->setDecimals(1);
    edge->setSuffix(QStringLiteral(" mm"));
    edge->setSpecialValueText(QString::fromUtf8("Körpereinheiten"));
    edge->setToolTip(QString::fromUtf8("Für den 3D-Druck: die Länge der längsten Kante in Millimetern; "
                                       "0: in Körpereinheiten"));
    QObject::connect(placement, &QComboBox::currentIndexChanged, edge,
                     [edge](int index) { edge->setEnabled(index == 0); });
    form->addRow(QStringLiteral("Figur:"), figure);
    form->addRow(QStringLiteral("Format:"), format);
    form->addRow(QStringLiteral("Lage:"), placement);
    form->addRow(QString::fromUtf8("Längste Kante:"), edge);
    addButtons(dialog, form);
    // The format chosen last time.
    format->setCurrentIndex(rememberedInt(QStringLiteral("export/format"), 0, format->count() - 1).value_or(0));
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    if (format->currentIndex() < 0 || static_cast<std::size_t>(format->currentIndex()) >= std::size(kMeshFormats))
        return std::nullopt;
    rememberSetting(QStringLiteral("export/format"), format->currentIndex());
    const MeshFormatEntry& f = kMeshFormats[format->currentIndex()];
    const QString path = files.chooseFile(
        {QStringLiteral("Exportieren"),
         QString::fromUtf8(f.label) + QStringLiteral(" (*.") + QString::fromLatin1(f.suffix) + QLatin1Char(')'), true,
         fileNameFor(figure->currentIndex() == 1 ? bodyName + QStringLiteral(" (") + dualName + QLatin1Char(')')
                                                 : bodyName,
                     QString::fromLatin1(f.suffix))});
    if (path.isEmpty()) return std::nullopt;
    const bool asShown = placement->currentIndex() == 1;
    return Dialogs::ExportChoice{figure->currentIndex() == 1, static_cast<int>(f.format),
                                 withSuffix(path, QString::fromLatin1(f.suffix)), asShown,
                                 asShown ? 0.0 : edge->value()};
}

std::optional<Dialogs::NetChoice> runNetDialog(QWidget* parent, bool save, const QStringList& figures, const QString& bodyName,
                                           Dialogs& files) {
    QDialog dialog(parent);
    dialog.setWindowTitle(save ? QStringLiteral("Netz speichern") : QStringLiteral("Netz drucken"));
    auto* form = new QFormLayout(&dialog);
    auto* figure = new QComboBox(&dialog);
    figure->setAccessibleName(QStringLiteral("Figur"));
    figure->addItems(figures);
    auto* edge = new QSpinBox(&dialog);
    edge->setAccessibleName(QString::fromUtf8("Kantenlänge in Millimetern"));
    edge->setRange(0, 1000);
    edge->setSuffix(QStringLiteral(" mm"));
    edge->setSpecialValueText(QString::fromUtf8("so groß, wie eine Seite fasst"));
    figure->setToolTip(QString::fromUtf8("Das Netz des Körpers oder seines dualen Körpers"));
    edge->setToolTip(QString::fromUtf8("Länge der längsten Kante auf dem Papier; 0: so groß, wie eine Seite fasst"));
    form->addRow(QStringLiteral("Figur:"), figure);
    form->addRow(QString::fromUtf8("Längste Kante:"), edge);
    auto* tabs = new QComboBox(&dialog);
    tabs->setObjectName(QStringLiteral("netTabs"));
    tabs->setAccessibleName(QStringLiteral("Laschen"));
    tabs->addItems({QStringLiteral("an einer Seite jeder Klebekante"),
                    QString::fromUtf8("an beiden Seiten (für dicken Karton)"),
                    QStringLiteral("abwechselnd an der einen und der anderen Seite")});
    tabs->setToolTip(QString::fromUtf8("Wo die Klebelaschen sitzen; an beiden Seiten werden die zwei Laschen "
                                       "einer Kante aufeinandergeklebt"));
    form->addRow(QStringLiteral("Laschen:"), tabs);
    addButtons(dialog, form);
    // "Hilfe": the page on building a net, in a help window of the dialog's own, which the dialog
    // does not block.
    if (auto* box = dialog.findChild<QDialogButtonBox*>()) {
        QPushButton* help = box->addButton(QDialogButtonBox::Help);
        help->setText(QStringLiteral("Hilfe"));
        help->setObjectName("netHelp");
        help->setToolTip(QString::fromUtf8("Wie man ein Netz druckt, ausschneidet, faltet und klebt"));
        QObject::connect(box, &QDialogButtonBox::helpRequested, &dialog, [&dialog] {
            auto* window = dialog.findChild<HelpWindow*>(QStringLiteral("helpWindow"));
            if (!window) window = new HelpWindow(&dialog, nullptr);
            window->showSection(QStringLiteral("netz"));
        });
    }
    // "Netz falten": the net as chosen, shown flat and folding up in the drawing area.
    bool foldAsked = false;
    if (auto* box = dialog.findChild<QDialogButtonBox*>()) {
        QPushButton* fold = box->addButton(QStringLiteral("Netz falten"), QDialogButtonBox::ActionRole);
        fold->setObjectName("netFold");
        fold->setToolTip(QString::fromUtf8("Zeigt dieses Netz flach und wie es sich zum Körper faltet, bevor es "
                                           "gedruckt wird (wie Ansicht › Netz falten)"));
        QObject::connect(fold, &QPushButton::clicked, &dialog, [&dialog, &foldAsked] {
            foldAsked = true;
            dialog.accept();
        });
    }
    // The edge length and the tabs chosen last time.
    edge->setValue(rememberedInt(QStringLiteral("net/edgeMillimetres"), edge->minimum(), edge->maximum()).value_or(0));
    tabs->setCurrentIndex(rememberedInt(QStringLiteral("net/tabs"), 0, tabs->count() - 1).value_or(0));
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    rememberSetting(QStringLiteral("net/edgeMillimetres"), edge->value());
    rememberSetting(QStringLiteral("net/tabs"), tabs->currentIndex());
    const NetTabs tabStyles[] = {NetTabs::OneSide, NetTabs::BothSides, NetTabs::Alternating};
    Dialogs::NetChoice choice{figure->currentIndex(), edge->value(), QString(),
                              tabStyles[std::clamp(tabs->currentIndex(), 0, 2)]};
    choice.fold = foldAsked;
    if (save && !foldAsked) {
        choice.path = files.chooseFile({QStringLiteral("Netz speichern"),
                                        QStringLiteral("PDF-Dokument (*.pdf);;SVG-Grafik (*.svg)"), true,
                                        fileNameFor(bodyName + QStringLiteral("-Netz"), QStringLiteral("pdf"))});
        if (choice.path.isEmpty()) return std::nullopt;
        choice.path = withSuffix(choice.path, QStringLiteral("pdf"));
    }
    return choice;
}

std::optional<QSize> runPictureSizeDialog(QWidget* parent, const QSize& shown) {
    QDialog dialog(parent);
    dialog.setWindowTitle(QString::fromUtf8("Bildgröße"));
    auto* form = new QFormLayout(&dialog);
    auto* choice = new QComboBox(&dialog);
    choice->setAccessibleName(QString::fromUtf8("Größe"));
    const auto sizeText = [](QSize s) { return QString::fromUtf8("%1 × %2").arg(s.width()).arg(s.height()); };
    const int factors[] = {1, 2, 4};
    const char* captions[] = {"wie gezeigt", "doppelt so groß", "viermal so groß"};
    for (int i = 0; i < 3; ++i)
        choice->addItem(QString::fromUtf8(captions[i]) + QStringLiteral(" (") + sizeText(shown * factors[i]) +
                        QLatin1Char(')'));
    choice->addItem(QString::fromUtf8("eigene Größe"));
    choice->setToolTip(QString::fromUtf8("Größer gespeichert, zeigt das Bild dasselbe wie der Bildschirm, nur "
                                         "feiner: Linien und Punkte wachsen mit"));
    const auto side = [&](const char* name, int value) {
        auto* box = new QSpinBox(&dialog);
        box->setAccessibleName(QString::fromUtf8(name));
        box->setRange(1, 10000);
        box->setSuffix(QStringLiteral(" Bildpunkte"));
        box->setGroupSeparatorShown(false);
        box->setValue(value);
        return box;
    };
    auto* width = side("Breite", rememberedInt(QStringLiteral("picture/width"), 1, 10000).value_or(2 * shown.width()));
    auto* height =
        side("Höhe", rememberedInt(QStringLiteral("picture/height"), 1, 10000).value_or(2 * shown.height()));
    form->addRow(QString::fromUtf8("Größe:"), choice);
    form->addRow(QStringLiteral("Breite:"), width);
    form->addRow(QString::fromUtf8("Höhe:"), height);
    addButtons(dialog, form);
    const auto follow = [&] {
        const bool own = choice->currentIndex() == 3;
        width->setEnabled(own);
        height->setEnabled(own);
    };
    QObject::connect(choice, &QComboBox::currentIndexChanged, &dialog, follow);
    choice->setCurrentIndex(rememberedInt(QStringLiteral("picture/size"), 0, 3).value_or(0));
    follow();
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    rememberSetting(QStringLiteral("picture/size"), choice->currentIndex());
    if (choice->currentIndex() == 3) {
        rememberSetting(QStringLiteral("picture/width"), width->value());
        rememberSetting(QStringLiteral("picture/height"), height->value());
        return QSize(width->value(), height->value());
    }
    return shown * factors[std::clamp(choice->currentIndex(), 0, static_cast<int>(std::size(factors)) - 1)];
}

std::optional<QString> runRecipeDialog(QWidget* parent, const QString& current, const Dialogs::RecipeCheck& check) {
    QDialog dialog(parent);
    dialog.setWindowTitle(QStringLiteral("Rezept eingeben"));
    auto* form = new QFormLayout(&dialog);
    auto* recipe = new QLineEdit(current, &dialog);
    recipe->setObjectName(QStringLiteral("recipe"));
    recipe->setAccessibleName(QStringLiteral("Rezept"));
    recipe->setToolTip(QString::fromUtf8("Buchstaben der Operationen, von rechts nach links angewandt: "
                                         "„tk“ setzt Pyramiden auf und stumpft dann ab"));
    auto* verdict = new QLabel(&dialog);
    verdict->setObjectName(QStringLiteral("verdict"));
    verdict->setWordWrap(true);
    // Room for the longest verdict (a letter refused, with the letters allowed) without the dialog
    // changing its size while the user types.
    verdict->setMinimumWidth(420);
    verdict->setMinimumHeight(3 * verdict->fontMetrics().lineSpacing());
    verdict->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    form->addRow(QStringLiteral("Rezept:"), recipe);
    form->addRow(verdict);
    addButtons(dialog, form);
    QPushButton* ok = nullptr;
    if (auto* box = dialog.findChild<QDialogButtonBox*>()) ok = box->button(QDialogButtonBox::Ok);
    const auto recheck = [&] {
        const Dialogs::RecipeVerdict v = check(recipe->text());
        verdict->setText(v.text);
        if (ok) ok->setEnabled(v.acceptable);
    };
    QObject::connect(recipe, &QLineEdit::textChanged, &dialog, recheck);
    recheck();
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return recipe->text();
}

std::unique_ptr<Dialogs> qtDialogs(QWidget* parent) {
    return std::make_unique<QtDialogs>(parent);
}

} // namespace kesmora
