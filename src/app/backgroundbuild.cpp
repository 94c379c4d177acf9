// Builds off the window's thread, with progress and cancelling.
#include "backgroundbuild.h"

#include <QFutureWatcher>
#include <QProgressDialog>
#include <QTimer>
#include <QWidget>
#include <QtConcurrent/QtConcurrentRun>

#include <exception>
#include <utility>

namespace kesmora {

BackgroundBuild::BackgroundBuild(QWidget* window)
    : QObject(window), window_(window), watcher_(new QFutureWatcher<Outcome>(this)), poll_(new QTimer(this)) {
    poll_->setInterval(50);
    connect(poll_, &QTimer::timeout, this, [this] {
        if (progressDialog_ && permille_) progressDialog_->setValue(permille_->load());
    });
    connect(watcher_, &QFutureWatcher<Outcome>::finished, this, &BackgroundBuild::finished);
}

BackgroundBuild::~BackgroundBuild() {
    if (!watcher_->isFinished()) {
        cancel();
        watcher_->waitForFinished();
    }
}

bool BackgroundBuild::running() const {
    return static_cast<bool>(done_);
}

bool BackgroundBuild::start(std::shared_ptr<const CatalogueTables> tables, BodySource source, DualKind dual,
                            std::shared_ptr<const RecipeResult> made, const QString& label,
                            std::function<void(Outcome)> done) {
    if (running()) return false;
    done_ = std::move(done);
    cancelled_ = std::make_shared<std::atomic<bool>>(false);
    permille_ = std::make_shared<std::atomic<int>>(0);
    progressDialog_ = new QProgressDialog(label, QStringLiteral("Abbrechen"), 0, 1000, window_);
    progressDialog_->setObjectName(QStringLiteral("operationProgress"));
    progressDialog_->setWindowTitle(QStringLiteral("Kesmora"));
    progressDialog_->setWindowModality(Qt::WindowModal);
    progressDialog_->setMinimumDuration(200);
    progressDialog_->setAutoReset(false);
    progressDialog_->setAutoClose(false);
    connect(progressDialog_, &QProgressDialog::canceled, this, &BackgroundBuild::cancel);
    poll_->start();
    watcher_->setFuture(QtConcurrent::run(
        [tables = std::move(tables), source = std::move(source), dual, made = std::move(made),
         cancelled = cancelled_, permille = permille_]() -> Outcome {
            Outcome outcome;
            const ProgressCallback progress = [&](double share) {
                permille->store(static_cast<int>(share * 1000));
                return !cancelled->load();
            };
            try {
                outcome.body = finishModel(*tables, source, dual, progress, made);
            } catch (const std::exception& e) {
                outcome.error = e.what();
            } catch (...) {
                outcome.error = "Der Körper konnte nicht gebaut werden";
            }
            if (cancelled->load()) outcome.body.cancelled = true;
            return outcome;
        }));
    return true;
}

void BackgroundBuild::cancel() {
    if (cancelled_) cancelled_->store(true);
}

void BackgroundBuild::wait() {
    if (!running()) return;
    watcher_->waitForFinished();
    finished();
}

void BackgroundBuild::finished() {
    if (!running()) return; // handed over by wait() already
    poll_->stop();
    if (progressDialog_) {
        progressDialog_->disconnect(this);
        progressDialog_->deleteLater();
        progressDialog_ = nullptr;
    }
    std::function<void(Outcome)> done = std::move(done_);
    done_ = nullptr;
    Outcome outcome = watcher_->result();
    if (!outcome.body.cancelled) done(std::move(outcome));
}

} // namespace kesmora
