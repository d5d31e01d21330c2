#pragma once
// The fixed workgroup account: every database is opened with it, and the password doubles as the
// database password.

#include <QString>

namespace data {

inline const QString kUser = QStringLiteral("Tumbrelix");
inline const QString kPassword = QStringLiteral("Fq7Rm2Xw9K");

// "Provider=...;Password=...;User ID=...;Data Source=<file>;Persist Security Info=True;
//  Jet OLEDB:System database=System.mdw;Jet OLEDB:Database Password=..."
QString ConnectionString(const QString &dataSource);

} // namespace data
