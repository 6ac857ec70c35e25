#include "app/plugins/MakerLinks.h"

#include <QUrl>

QString MailtoUrl(const QString& to, const QString& subject, const QStringList& bodyLines)
{
    QStringList fields;
    if (!subject.isEmpty()) {
        fields << QStringLiteral("subject=") + QString::fromLatin1(QUrl::toPercentEncoding(subject));
    }
    if (!bodyLines.isEmpty()) {
        fields << QStringLiteral("body=") +
                      QString::fromLatin1(QUrl::toPercentEncoding(bodyLines.join(QStringLiteral("\r\n"))));
    }
    QString url = QStringLiteral("mailto:") + QString::fromLatin1(QUrl::toPercentEncoding(to, "@"));
    if (!fields.isEmpty()) {
        url += QLatin1Char('?') + fields.join(QLatin1Char('&'));
    }
    return url;
}
