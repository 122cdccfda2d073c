// SPDX-License-Identifier: GPL-3.0-or-later
// A small window that drags the files named on its command line away as a file manager does:
// a text/uri-list, offered for copying. Pressing anywhere in it starts the drag. The drop tests
// drive it with xdotool.

#include <QApplication>
#include <QDrag>
#include <QLabel>
#include <QMimeData>
#include <QMouseEvent>
#include <QUrl>

namespace {

class UriSource : public QLabel {
public:
    explicit UriSource(QList<QUrl> urls) : m_urls(std::move(urls)) {
        setWindowTitle(QStringLiteral("Uri Source"));
        setText(QStringLiteral("%1 files").arg(m_urls.size()));
        setAlignment(Qt::AlignCenter);
        setFixedSize(200, 120);
    }

protected:
    void mouseMoveEvent(QMouseEvent* e) override {
        if (!(e->buttons() & Qt::LeftButton) || m_dragging)
            return;
        m_dragging = true;
        auto* drag = new QDrag(this);
        auto* data = new QMimeData;
        data->setUrls(m_urls);
        drag->setMimeData(data);
        const Qt::DropAction done = drag->exec(Qt::CopyAction);
        setText(done == Qt::CopyAction ? QStringLiteral("copied") : QStringLiteral("refused"));
        m_dragging = false;
    }

private:
    QList<QUrl> m_urls;
    bool m_dragging = false;
};

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QList<QUrl> urls;
    for (int i = 1; i < argc; ++i)
        urls.append(QUrl::fromLocalFile(QString::fromLocal8Bit(argv[i])));
    UriSource w(urls);
    w.show();
    return app.exec();
}
