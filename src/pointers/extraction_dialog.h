#pragma once

#include <QDialog>

#include "encoding/conversions.h"
#include "pointers/extraction_input.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QRadioButton;
class QTableWidget;
class QWidget;

namespace tradumar {

class Dialogs;
struct Workspace;

// "Extraer scripts": finds the scripts in the project's ROM through a
// pointer table or a list of ranges, previews the first ones decoded with
// the original table, and on "Extraer" writes one file per script into the
// scripts folder (never over an existing one) and records every script's
// pointers in the project's pointer file. The dialog is accepted once
// something was extracted, so the window knows to read its list again.
class ExtractionDialog : public QDialog {
    Q_OBJECT
public:
    ExtractionDialog(const Workspace& workspace, Dialogs& dialogs, QWidget* parent = nullptr);

    // The fields as a request, checked against the ROM.
    ExtractionInputCheck check() const;
    void updatePreview();
    void extract(); // cmdExtraer

private:
    ExtractionInput input() const;
    void showMode();

    const Workspace& m_workspace;
    Dialogs& m_dialogs;
    Bytes m_rom;
    std::string m_tableProblem; // why the original table cannot decode, or empty

    QRadioButton* m_optPunteros = nullptr;
    QRadioButton* m_optRangos = nullptr;
    QWidget* m_fraPunteros = nullptr;
    QLineEdit* m_txtDireccion = nullptr;
    QLineEdit* m_txtCuenta = nullptr;
    QComboBox* m_cboTamano = nullptr;
    QComboBox* m_cboOrden = nullptr;
    QComboBox* m_cboMapa = nullptr;
    QLineEdit* m_txtDesplazamiento = nullptr;
    QComboBox* m_cboCabecera = nullptr;
    QLineEdit* m_txtPaso = nullptr;
    QPlainTextEdit* m_txtRangos = nullptr;
    QLabel* m_lblVista = nullptr;
    QTableWidget* m_tblVista = nullptr;
};

} // namespace tradumar
