#include "qt_keyring.h"

#include <qt6keychain/keychain.h>

namespace {

void run(QKeychain::Job* job, const QString& key, Keyring::Then then)
{
    job->setKey(key);
    job->setAutoDelete(true);
    job->setInsecureFallback(false);
    QObject::connect(job, &QKeychain::Job::finished, job, [then = std::move(then)](QKeychain::Job* done) {
        Keyring::Answer answer;
        switch (done->error()) {
        case QKeychain::NoError:
            answer.outcome = Keyring::Outcome::Done;
            if (const auto* read = qobject_cast<QKeychain::ReadPasswordJob*>(done))
                answer.value = read->textData();
            break;
        case QKeychain::EntryNotFound:
            answer.outcome = Keyring::Outcome::NotFound;
            break;
        default:
            answer.outcome = Keyring::Outcome::Failed;
            answer.error = done->errorString();
            break;
        }
        then(answer);
    });
    job->start();
}

}  // namespace

void QtKeyring::read(const QString& key, Then then)
{
    run(new QKeychain::ReadPasswordJob(service_), key, std::move(then));
}

void QtKeyring::write(const QString& key, const QString& value, Then then)
{
    auto* job = new QKeychain::WritePasswordJob(service_);
    job->setTextData(value);
    run(job, key, std::move(then));
}
