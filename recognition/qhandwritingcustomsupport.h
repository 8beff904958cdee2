#pragma once

#include <QGraphicsItem>
#include <QList>
#include <QNetworkAccessManager>
#include <QObject>
#include <QPointF>
#include <QVector>

class QNetworkReply;

// The client of the online handwriting recognition service: posts a page's strokes as a
// signed form and reports the reply body, or an error.
class QHandwritingCustomSupport : public QObject
{
    Q_OBJECT
public:
    explicit QHandwritingCustomSupport(QObject *parent = nullptr);

    void recognizeDrawPathAsText(const QString &language, const QList<QVector<QPointF>> &strokes);
    // The JSON document and the form body that recognizeDrawPathAsText sends.
    QString requestJson(const QString &language, const QList<QVector<QPointF>> &strokes) const;
    QByteArray requestBody(const QString &json) const;
    static void pointToString(const QVector<QPointF> &stroke, QString &x, QString &y);

    // Where requests go: "http://" + host + the service path. Tests point it at a local server.
    static void setServiceHost(const QString &host);
    static QString serviceHost();

    QList<QGraphicsItem *> m_items; // kept by the page while it converts them
    QPointF m_textPos; // where the page puts the next recognised text

signals:
    void textRecognitionSucceded(const QString &reply);
    void textRecognitionError();

private slots:
    void finished(QNetworkReply *reply);

private:
    QNetworkAccessManager m_networkManager;
};
