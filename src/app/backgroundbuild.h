// A build that may take long (operations on a large body, canonical forms) run off the window's
// thread: the window keeps turning and drawing meanwhile, a progress dialog shows itself after
// 0.2 s, and its "Abbrechen" stops the build, which then changes nothing.
#pragma once

#include "session/bodysession.h"

#include <QObject>

#include <atomic>
#include <functional>
#include <memory>
#include <string>

class QProgressDialog;
class QTimer;
template <typename T> class QFutureWatcher;

namespace kesmora {

class BackgroundBuild : public QObject {
    Q_OBJECT
  public:
    // What a build came to: the body, or the message of the error that stopped it.
    struct Outcome {
        FinishedBody body;
        std::string error;
    };

    explicit BackgroundBuild(QWidget* window);
    // Stops a build still running and waits for it.
    ~BackgroundBuild() override;

    bool running() const;
    // Builds `source` with `dual` from `tables`. `done` is called on the window's thread once the
    // build has ended, unless it was cancelled. Only one build runs at a time: false (and nothing
    // started) while one is running.
    bool start(std::shared_ptr<const CatalogueTables> tables, BodySource source, DualKind dual,
               std::shared_ptr<const RecipeResult> made, const QString& label, std::function<void(Outcome)> done);
    // Asks the running build to stop; it ends at its next progress report.
    void cancel();
    // Waits until the running build has ended and its outcome has been handed over.
    void wait();

  private:
    void finished();

    QWidget* window_;
    QFutureWatcher<Outcome>* watcher_ = nullptr;
    QProgressDialog* progressDialog_ = nullptr;
    QTimer* poll_ = nullptr;
    std::function<void(Outcome)> done_;
    std::shared_ptr<std::atomic<bool>> cancelled_;
    std::shared_ptr<std::atomic<int>> permille_;
};

} // namespace kesmora
