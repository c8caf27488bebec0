#include "plant/PlantClaims.h"

#include <QFile>
#include <QUuid>

#include <mutex>

#include "core/FileSync.h"

namespace dye {

namespace {

std::mutex& claimsLock() {
    static std::mutex lock;
    return lock;
}

const char* kindName(PlantClaim::Kind kind) {
    switch (kind) {
        case PlantClaim::Kind::Vat:
            return "vat";
        case PlantClaim::Kind::Step44:
            return "step44";
        case PlantClaim::Kind::Drop:
            return "drop";
    }
    return "";
}

bool kindOf(const QString& text, PlantClaim::Kind* kind) {
    for (const PlantClaim::Kind k :
         {PlantClaim::Kind::Vat, PlantClaim::Kind::Step44, PlantClaim::Kind::Drop})
        if (text == QLatin1String(kindName(k))) {
            *kind = k;
            return true;
        }
    return false;
}

QByteArray encoded(const QString& text) {
    return text.toUtf8().toPercentEncoding();
}

QString decoded(const QByteArray& text) {
    return QString::fromUtf8(QByteArray::fromPercentEncoding(text));
}

}  // namespace

QString PlantClaim::newId() {
    return QUuid::createUuid().toString(QUuid::WithoutBraces);
}

QString PlantClaim::shown() const {
    switch (kind) {
        case Kind::Vat:
            return QStringLiteral("vat %1 (batch %2, introduction %3)")
                .arg(keys.value(0), keys.value(1), keys.value(2));
        case Kind::Step44:
            return QStringLiteral("order %1 category %2").arg(keys.value(0), keys.value(1));
        case Kind::Drop:
            return QStringLiteral("drop record %1 (record %2 of %3)")
                .arg(keys.value(2), keys.value(1), keys.value(0));
    }
    return {};
}

QString PlantClaims::path() const {
    return workdir_.filePath(QLatin1String(kFileName));
}

QList<PlantClaim> PlantClaims::read(QString* error) const {
    std::lock_guard lock(claimsLock());
    return readLocked(error);
}

bool PlantClaims::add(const PlantClaim& claim, QString* error) const {
    std::lock_guard lock(claimsLock());
    QString why;
    QList<PlantClaim> claims = readLocked(&why);
    if (!why.isEmpty()) {
        if (error) *error = why;
        return false;  // an unreadable file is never overwritten
    }
    claims << claim;
    return writeLocked(claims, error);
}

bool PlantClaims::drop(const QString& id, QString* error) const {
    std::lock_guard lock(claimsLock());
    QString why;
    QList<PlantClaim> claims = readLocked(&why);
    if (!why.isEmpty()) {
        if (error) *error = why;
        return false;
    }
    const qsizetype before = claims.size();
    claims.removeIf([&](const PlantClaim& c) { return c.id == id; });
    if (claims.size() == before) return true;
    if (claims.isEmpty()) {
        QFile file(path());
        if (file.remove()) {
            syncDirectory(path());
            return true;
        }
        if (error) *error = QStringLiteral("cannot remove %1: %2").arg(path(), file.errorString());
        return false;
    }
    return writeLocked(claims, error);
}

// One item a line, tab-separated, texts percent-encoded: "claim", its id,
// kind and keys; then "job" and the queue record's bytes in base 64 for each
// of its jobs; "end" closes a whole file.
bool PlantClaims::writeLocked(const QList<PlantClaim>& claims, QString* error) const {
    QByteArray bytes;
    for (const PlantClaim& c : claims) {
        bytes += "claim\t" + encoded(c.id) + '\t' + kindName(c.kind);
        for (const QString& key : c.keys) bytes += '\t' + encoded(key);
        bytes += '\n';
        for (const JobRecord& job : c.jobs) bytes += "job\t" + job.toBytes().toBase64() + '\n';
    }
    bytes += "end\n";
    return writeFileAtomically(path(), bytes, error);
}

QList<PlantClaim> PlantClaims::readLocked(QString* error) const {
    QList<PlantClaim> claims;
    QFile file(path());
    if (!file.exists()) return claims;
    const auto fail = [&](const QString& why) {
        if (error) *error = why;
        return QList<PlantClaim>();
    };
    if (!file.open(QIODevice::ReadOnly))
        return fail(QStringLiteral("cannot read %1: %2").arg(path(), file.errorString()));
    bool whole = false;
    for (const QByteArray& line : file.readAll().split('\n')) {
        const QList<QByteArray> f = line.split('\t');
        PlantClaim::Kind kind;
        if (f[0] == "claim" && f.size() >= 3 && kindOf(QString::fromLatin1(f[2]), &kind)) {
            PlantClaim c;
            c.id = decoded(f[1]);
            c.kind = kind;
            for (qsizetype k = 3; k < f.size(); ++k) c.keys << decoded(f[k]);
            claims << c;
        } else if (f[0] == "job" && f.size() == 2 && !claims.isEmpty()) {
            const QByteArray bytes = QByteArray::fromBase64(f[1]);
            if (bytes.size() != JobRecord::kLength) break;
            claims.last().jobs << JobRecord::fromBytes(bytes);
        } else if (f[0] == "end" && f.size() == 1) {
            whole = true;
        } else if (!line.isEmpty() || whole) {
            break;
        }
    }
    // The file is only ever replaced whole; anything else was not written here.
    if (!whole) return fail(QStringLiteral("%1 is not a whole claims file").arg(path()));
    return claims;
}

}  // namespace dye
