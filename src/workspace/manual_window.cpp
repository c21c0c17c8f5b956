#include "workspace/manual_window.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTextBrowser>
#include <QTextCursor>
#include <QUrl>
#include <QVBoxLayout>

namespace tradumar {

QString findManualIndex() {
    const QStringList candidates = {QCoreApplication::applicationDirPath() +
                                        QStringLiteral("/../share/tradumar/manual/index.html"),
                                    QStringLiteral(TRADUMAR_MANUAL_SOURCE "/index.html")};
    for (const QString& candidate : candidates)
        if (QFileInfo(candidate).isFile())
            return QDir::cleanPath(QFileInfo(candidate).absoluteFilePath());
    return {};
}

ManualWindow::ManualWindow(const QString& indexFile, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmManual"));
    setWindowTitle(QStringLiteral("Manual de usuario de Tradumar"));
    resize(760, 560);

    m_txtBuscar = new QLineEdit(this);
    m_txtBuscar->setObjectName(QStringLiteral("txtBuscarManual"));
    m_txtBuscar->setPlaceholderText(QStringLiteral("Texto a buscar en la página"));
    auto* buscar = new QPushButton(QStringLiteral("Buscar"), this);
    buscar->setObjectName(QStringLiteral("cmdBuscarManual"));
    m_lblEstado = new QLabel(this);
    m_lblEstado->setObjectName(QStringLiteral("lblEstadoManual"));
    m_browser = new QTextBrowser(this);
    m_browser->setObjectName(QStringLiteral("txtManual"));
    m_browser->setOpenExternalLinks(true);
    m_browser->setSource(QUrl::fromLocalFile(indexFile));

    auto* bar = new QHBoxLayout;
    bar->addWidget(m_txtBuscar, 1);
    bar->addWidget(buscar);
    bar->addWidget(m_lblEstado);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(m_browser, 1);

    connect(m_txtBuscar, &QLineEdit::returnPressed, this, &ManualWindow::findNext);
    connect(buscar, &QPushButton::clicked, this, &ManualWindow::findNext);
    // Another page is searched from its start.
    connect(m_browser, &QTextBrowser::sourceChanged, m_lblEstado, &QLabel::clear);
}

bool ManualWindow::findNext() {
    const QString words = m_txtBuscar->text();
    m_lblEstado->clear();
    if (words.isEmpty())
        return false;
    if (m_browser->find(words))
        return true;
    // Past the last one: again from the top of the page.
    const QTextCursor kept = m_browser->textCursor();
    m_browser->moveCursor(QTextCursor::Start);
    if (m_browser->find(words))
        return true;
    m_browser->setTextCursor(kept);
    m_lblEstado->setText(QStringLiteral("No se encuentra en esta página."));
    return false;
}

} // namespace tradumar
