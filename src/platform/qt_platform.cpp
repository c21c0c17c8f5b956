#include "platform/qt_platform.h"

#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QMessageBox>
#include <QProcess>
#include <QRegularExpression>

namespace tradumar {

QString displayText(const QString& text) {
    QString out = text;
    out.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return out;
}

MessageAnswer QtDialogs::message(QWidget* parent, const QString& text, const QString& title,
                                 MessageButtons buttons, MessageIcon icon) {
    QMessageBox box(parent);
    box.setWindowTitle(title);
    box.setText(displayText(text));
    box.setTextFormat(Qt::PlainText);
    switch (icon) {
    case MessageIcon::None:
        box.setIcon(QMessageBox::NoIcon);
        break;
    case MessageIcon::Critical:
        box.setIcon(QMessageBox::Critical);
        break;
    case MessageIcon::Question:
        box.setIcon(QMessageBox::Question);
        break;
    case MessageIcon::Exclamation:
        box.setIcon(QMessageBox::Warning);
        break;
    case MessageIcon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    }
    // Closing the box answers as its last button: Cancel, No, or OK.
    switch (buttons) {
    case MessageButtons::Ok:
        box.setStandardButtons(QMessageBox::Ok);
        box.setEscapeButton(QMessageBox::Ok);
        break;
    case MessageButtons::YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::No);
        break;
    case MessageButtons::YesNoDefaultNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::No);
        box.setEscapeButton(QMessageBox::No);
        break;
    case MessageButtons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::Cancel);
        break;
    }
    box.exec();
    const auto* clicked = box.clickedButton();
    if (clicked == box.button(QMessageBox::Yes))
        return MessageAnswer::Yes;
    if (clicked == box.button(QMessageBox::No))
        return MessageAnswer::No;
    if (clicked == box.button(QMessageBox::Ok))
        return MessageAnswer::Ok;
    if (buttons == MessageButtons::Ok)
        return MessageAnswer::Ok;
    return buttons == MessageButtons::YesNoCancel ? MessageAnswer::Cancel : MessageAnswer::No;
}

QStringList nameFiltersOf(const QString& filter) {
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList out;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        // Qt reads the patterns from the bracketed group at the end of the
        // text, blank-separated. A description that ends in its own group
        // ("SNES SMC (*.smc)", "Gameboy GB(*.gb)") is shown as written, with
        // ";" between patterns read as a blank; any other gets its patterns
        // appended.
        QString description = parts.at(i).trimmed();
        const qsizetype open = description.lastIndexOf(QLatin1Char('('));
        if (description.endsWith(QLatin1Char(')')) && open >= 0) {
            out << description.left(open) + description.mid(open).replace(QLatin1Char(';'), QLatin1Char(' '));
            continue;
        }
        QString patterns = parts.at(i + 1);
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        out << description + QStringLiteral(" (") + patterns.simplified() + QLatin1Char(')');
    }
    return out;
}

QString QtDialogs::openFile(QWidget* parent, const FileRequest& request) {
    QFileDialog dialog(parent, request.title, request.initialFolder);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(request.mustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    const QStringList filters = nameFiltersOf(request.filter);
    dialog.setNameFilters(filters);
    if (request.filterIndex >= 1 && request.filterIndex <= filters.size())
        dialog.selectNameFilter(filters.at(request.filterIndex - 1));
    if (dialog.exec() != QDialog::Accepted)
        return {};
    const QStringList chosen = dialog.selectedFiles();
    return chosen.isEmpty() ? QString() : chosen.front();
}

QString QtDialogs::saveFile(QWidget* parent, const FileRequest& request) {
    QFileDialog dialog(parent, request.title, request.initialFolder);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    if (!request.proposedFile.isEmpty())
        dialog.selectFile(request.proposedFile);
    const QStringList filters = nameFiltersOf(request.filter);
    dialog.setNameFilters(filters);
    // The default suffix follows the filter: "*.ips" chosen, "parche" is saved as "parche.ips".
    const auto suffixOf = [](const QString& nameFilter) {
        const QRegularExpressionMatch match =
            QRegularExpression(QStringLiteral("\\*\\.(\\w+)")).match(nameFilter);
        return match.hasMatch() ? match.captured(1) : QString();
    };
    QObject::connect(
        &dialog, &QFileDialog::filterSelected, &dialog,
        [&dialog, suffixOf](const QString& chosen) { dialog.setDefaultSuffix(suffixOf(chosen)); });
    if (request.filterIndex >= 1 && request.filterIndex <= filters.size()) {
        dialog.selectNameFilter(filters.at(request.filterIndex - 1));
        dialog.setDefaultSuffix(suffixOf(filters.at(request.filterIndex - 1)));
    }
    if (dialog.exec() != QDialog::Accepted)
        return {};
    const QStringList chosen = dialog.selectedFiles();
    return chosen.isEmpty() ? QString() : chosen.front();
}

QString QtDialogs::chooseFolder(QWidget* parent, const QString& title) {
    return QFileDialog::getExistingDirectory(parent, title);
}

QString QtDialogs::chooseFolderFrom(QWidget* parent, const QString& title, const QString& initialFolder) {
    return QFileDialog::getExistingDirectory(parent, title, initialFolder);
}

void QtClipboard::setText(const QString& text) {
    QApplication::clipboard()->setText(text);
}

bool QtProcessLauncher::startDetached(const QString& program, const QStringList& arguments) {
    // Started directly, never through a shell: each argument arrives as one
    // argument, whatever characters it holds.
    return QProcess::startDetached(program, arguments);
}

QSettings programSettings() {
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Tradumar"),
                     QStringLiteral("Tradumar"));
}

} // namespace tradumar
