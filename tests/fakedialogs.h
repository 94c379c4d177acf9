// Dialogs that answer from a test's script: each question goes to its function; one that is not
// set is put to Qt's own dialog, as the window would (the export and net dialogs then ask the
// script for their file).
#pragma once

#include "app/dialogs.h"
#include "app/mainwindow.h"

#include <functional>
#include <memory>

namespace kesmora {

struct FakeDialogs final : Dialogs {
    explicit FakeDialogs(QWidget* parent) : parent_(parent), real_(qtDialogs(parent)) {}

    std::function<QString(const FileRequest&)> fileChooser;
    std::function<std::optional<ExportChoice>()> exportChooser;
    std::function<std::optional<NetChoice>(bool save)> netChooser;
    std::function<bool(QPrinter&)> printSetup;
    // Not set: the picture as shown, without a dialog (the size dialog is tested by itself).
    std::function<std::optional<QSize>(QSize shown)> pictureSizeChooser;
    std::function<std::optional<QColor>(QColor initial)> colourChooser;
    std::function<std::optional<QString>(const QString& current, const RecipeCheck& check)> recipeAsker;
    std::function<void(const QString&)> onError;
    std::function<void(const QString&, const QString&)> onInformation;
    QString colourTitle; // the title of the colour dialog asked for last

    QString chooseFile(const FileRequest& request) override {
        return fileChooser ? fileChooser(request) : real_->chooseFile(request);
    }
    std::optional<ExportChoice> chooseExport(const QString& dualName, const QString& bodyName) override {
        return exportChooser ? exportChooser() : runExportDialog(parent_, dualName, bodyName, *this);
    }
    std::optional<NetChoice> chooseNet(bool save, const QStringList& figures, const QString& bodyName) override {
        return netChooser ? netChooser(save) : runNetDialog(parent_, save, figures, bodyName, *this);
    }
    std::optional<QSize> choosePictureSize(const QSize& shown) override {
        return pictureSizeChooser ? pictureSizeChooser(shown) : std::optional<QSize>(shown);
    }
    bool setUpPrinter(QPrinter& printer, const QString& title) override {
        return printSetup ? printSetup(printer) : real_->setUpPrinter(printer, title);
    }
    std::optional<QColor> chooseColour(const QColor& initial, const QString& title) override {
        colourTitle = title;
        return colourChooser ? colourChooser(initial) : real_->chooseColour(initial, title);
    }
    std::optional<QString> askRecipe(const QString& current, const RecipeCheck& check) override {
        return recipeAsker ? recipeAsker(current, check) : real_->askRecipe(current, check);
    }
    void showError(const QString& text) override {
        if (onError)
            onError(text);
        else
            real_->showError(text);
    }
    // A test that listens to errors but not to notices hears the notices as errors, rather than
    // wait on a message box nobody closes.
    void showInformation(const QString& title, const QString& text) override {
        if (onInformation)
            onInformation(title, text);
        else if (onError)
            onError(text);
        else
            real_->showInformation(title, text);
    }

  private:
    QWidget* parent_;
    std::unique_ptr<Dialogs> real_;
};

// The window's scripted dialogs, put in place the first time they are asked for.
inline FakeDialogs& fakeDialogs(TMainForm& w) {
    if (auto* fake = dynamic_cast<FakeDialogs*>(&w.dialogs())) return *fake;
    auto fake = std::make_unique<FakeDialogs>(&w);
    FakeDialogs& f = *fake;
    w.setDialogs(std::move(fake));
    return f;
}

} // namespace kesmora
