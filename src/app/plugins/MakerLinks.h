#pragma once
// The program maker's addresses (its web site, its plug-in page and mail addresses) and
// the mail links built on them. A mail link is "mailto:" with its subject and body
// percent-encoded, lines broken by CR LF, so any mail client reads it the same way.

#include <QString>
#include <QStringList>

inline const QString MakerWebAddress = QStringLiteral("https://www.kerfpad.org");
inline const QString PlugInHomeAddress = QStringLiteral("https://www.kerfpad.org/plugins/");
inline const QString PlugInSubmissionAddress = QStringLiteral("plugins@kerfpad.org");
inline const QString SupportMailAddress = QStringLiteral("support@kerfpad.org");

// "mailto:<to>?subject=...&body=..." (parts left out when empty); `to` may be empty.
QString MailtoUrl(const QString& to, const QString& subject, const QStringList& bodyLines);

// The machine maker's web site (its logo in the about box links there).
inline const QString MachineMakerAddress = QStringLiteral("https://www.shopbottools.com");
