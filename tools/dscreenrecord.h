#pragma once

#include <QString>
#include <QWidget>

#include <memory>

class QLabel;
class QProgressDialog;
class QVBoxLayout;
class RecordThread;

// The screen recorder: runs the external recorder program ("Sys/record" under the application
// directory) into "out.ogv" there, shows a small blinking indicator near the board's top right
// corner while it records, and on stop asks where to keep the video. The whole program records
// through one recorder at a time.
class DScreenRecord : public QWidget
{
    Q_OBJECT

public:
    explicit DScreenRecord(QWidget *parent);
    ~DScreenRecord() override;

    // The program's one recorder widget, made under parent on first use.
    static DScreenRecord *shared(QWidget *parent);

    // Starts a recording and shows the indicator; false (and a message) when none could start.
    bool play();
    // Ends the recording, hides the indicator and asks where to save the video.
    void stop();

    bool isRecording() const;
    // Writes the last recording to target, in the format its suffix names (".ogv" is the
    // recorder's own; other names are converted). The old target survives any failure.
    bool saveRecording(const QString &target, QString *error = nullptr);

    // Where the recorder program and "out.ogv" live; the application directory by default.
    void setApplicationDir(const QString &dir) { m_appDir = dir; }
    QString recorderProgram() const;
    QString outputFile() const;
    QStringList recorderArguments() const;

    void captureImageFromCamera();

    // The dialog that shows a running conversion to another format (its Cancel stops it);
    // null when none runs.
    QProgressDialog *conversionDialog() const { return m_conversion; }

    // The file the last recording was saved in; empty until one has been saved.
    QString m_fileName;

protected:
    void timerEvent(QTimerEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    bool finishRecording();
    bool convertRecording(const QString &source, const QString &target, QString *error);
    void report(const QString &text);

    QLabel *m_label = nullptr;
    QVBoxLayout *m_layout = nullptr;
    std::unique_ptr<RecordThread> m_thread;
    QString m_appDir;
    QProgressDialog *m_conversion = nullptr;
};
