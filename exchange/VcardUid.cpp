// Matching records to the UIDs their cards carried before.
#include "VcardUid.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QUuid>

#include "platform/DataFolder.h"
#include "platform/SafeFile.h"

namespace q2 {
namespace {

constexpr int kKeyCount = 10;
// An edited record is recognised when its registration date and at least
// this many of the other remembered fields are still as they were.
constexpr int kEnoughForEdited = 4;

QString Flat(QString s) {
    s.replace(u'\t', u' ');
    s.replace(u'\r', u' ');
    s.replace(u'\n', u' ');
    return s;
}

QStringList KeysOf(const TUserInfo& r) {
    return {r.CommonRegistDate.date().toString(Qt::ISODate),
            Flat(r.PerSonalName_1),
            Flat(r.PerSonalName_2),
            Flat(r.PerSonalKana_1),
            Flat(r.PerSonalKana_2),
            Flat(r.OfficeName),
            Flat(r.PerSonalZip_1 + u'-' + r.PerSonalZip_2),
            Flat(r.PerSonalAddress_1),
            Flat(r.PerSonalMail_1),
            Flat(r.PerSonalTel_1)};
}

}  // namespace

QString VcardUidPath() {
    return DataFolderPath() + QStringLiteral("vcard-uid.txt");
}

TVcardUidStore::TVcardUidStore(QString path) : path_(std::move(path)) {
    QFile f(path_);
    if (!f.open(QIODevice::ReadOnly)) return;
    for (const QByteArray& line : f.readAll().split('\n')) {
        const QStringList parts = QString::fromUtf8(line).split(u'\t');
        if (parts.size() != kKeyCount + 1 || parts[0].isEmpty()) continue;
        entries_.push_back({parts[0], parts.mid(1)});
    }
}

QStringList TVcardUidStore::Assign(const TUserInfoList& book) {
    const int n = book.Count();
    QStringList uids;
    std::vector<QStringList> keys(n);
    std::vector<bool> taken(entries_.size(), false);
    std::vector<int> match(n, -1);
    QHash<QString, std::vector<int>> exact, byDate;
    for (int e = static_cast<int>(entries_.size()) - 1; e >= 0; --e) {
        exact[entries_[e].Keys.join(u'\t')].push_back(e);
        byDate[entries_[e].Keys.value(0)].push_back(e);
    }
    // Unchanged records first, so that an edited one cannot take their UID.
    for (int i = 0; i < n; ++i) {
        keys[i] = KeysOf(*book.Item(i));
        auto it = exact.find(keys[i].join(u'\t'));
        if (it == exact.end()) continue;
        while (!it->empty() && taken[it->back()]) it->pop_back();
        if (it->empty()) continue;
        match[i] = it->back();
        taken[match[i]] = true;
        it->pop_back();
    }
    for (int i = 0; i < n; ++i) {
        if (match[i] >= 0) continue;
        const auto it = byDate.constFind(keys[i][0]);
        if (it == byDate.constEnd()) continue;
        int best = -1, bestScore = kEnoughForEdited - 1;
        // The entries in file order: among equals the earlier one wins.
        for (auto e = it->rbegin(); e != it->rend(); ++e) {
            if (taken[*e]) continue;
            int score = 0;
            for (int k = 1; k < kKeyCount; ++k)
                score += !keys[i][k].isEmpty() && keys[i][k] == entries_[*e].Keys.value(k);
            if (score > bestScore) best = *e, bestScore = score;
        }
        if (best >= 0) match[i] = best, taken[best] = true;
    }
    for (int i = 0; i < n; ++i) {
        if (match[i] < 0) {
            entries_.push_back({QUuid::createUuid().toString(QUuid::WithoutBraces), keys[i]});
            match[i] = static_cast<int>(entries_.size()) - 1;
        } else {
            entries_[match[i]].Keys = keys[i];
        }
        uids << entries_[match[i]].Uid;
    }
    return uids;
}

bool TVcardUidStore::Save() const {
    QDir().mkpath(QFileInfo(path_).absolutePath());
    QByteArray out;
    for (const Entry& e : entries_) {
        out += e.Uid.toUtf8();
        for (const QString& k : e.Keys) out += '\t' + k.toUtf8();
        out += '\n';
    }
    return WriteFileSafely(path_, out) == SaveProblem::None;
}

}  // namespace q2
