#include "callbook_manager.h"

#include <QTimer>

CallbookManager::CallbookManager(HttpClient& http, SettingsStore& settings, const QString& cachePath,
                                 const Clock& clock, QObject* parent)
    : QObject(parent), qrz_(http, settings), hamQth_(http, settings), order_{&qrz_, &hamQth_}
{
    if (!cachePath.isEmpty())
        cache_ = std::make_unique<CallbookCache>(cachePath, clock);
    for (Callbook* book : order_)
        connect(book, &Callbook::answered, this,
                [this, book](const QString& call, const CallbookResult& result) { heard(book, call, result); });
}

CallbookManager::~CallbookManager() = default;

bool CallbookManager::isSetUp() const
{
    return std::any_of(order_.cbegin(), order_.cend(), [](const Callbook* b) { return b->isSetUp(); });
}

void CallbookManager::lookup(const QString& call)
{
    if (cache_) {
        if (const std::optional<CallbookResult> kept = cache_->find(call)) {
            QTimer::singleShot(0, this, [this, call, result = *kept] { emit answered(call, result); });
            return;
        }
    }
    if (pending_.contains(call))
        return;  // the answer on its way serves this lookup too
    pending_.insert(call, Pending{});
    tryFrom(call, 0);
}

void CallbookManager::loginChanged()
{
    if (cache_)
        cache_->forgetNotFound();
}

void CallbookManager::tryFrom(const QString& call, int index)
{
    Pending& p = pending_[call];
    while (index < order_.size() && !order_.at(index)->isSetUp())
        ++index;
    if (index < order_.size()) {
        p.at = index;
        order_.at(index)->lookup(call);
        return;
    }
    CallbookResult last = p.firstFailure.value_or(
        CallbookResult{CallbookError::LoginRefused, {}, QStringLiteral("No callbook login is stored")});
    pending_.remove(call);
    // Never inside lookup(): the caller may still be setting up for the answer.
    QTimer::singleShot(0, this, [this, call, last] { emit answered(call, last); });
}

void CallbookManager::heard(Callbook* from, const QString& call, const CallbookResult& result)
{
    const auto it = pending_.find(call);
    if (it == pending_.end() || it->at < 0 || order_.at(it->at) != from)
        return;
    if (!result.answered()) {
        if (!it->firstFailure)
            it->firstFailure = result;
        tryFrom(call, it->at + 1);
        return;
    }
    pending_.erase(it);
    if (cache_)
        cache_->store(call, result);
    emit answered(call, result);
}
