#include "archive.h"

// Placeholder until the archive layer lands.
namespace lzh {
bool Archive::openBytes(const QByteArray&) { error_ = QStringLiteral("not built"); return false; }
bool Archive::openFile(const QString&) { error_ = QStringLiteral("not built"); return false; }
QStringList Archive::memberNames() const { return names_; }
std::optional<QByteArray> Archive::read(const QString&) { return std::nullopt; }
QByteArray writeArchive(const QList<Member>&) { return {}; }
}  // namespace lzh
