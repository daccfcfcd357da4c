// The in-place editor as the grid drives it.
#include "controls/grid/CustomGrid.h"

#include "controls/grid/InplaceEdit.h"

#include <QKeyEvent>

namespace kzm::ui {

bool TorvCustomGrid::CanEditShow() const {
  return m_options.Contains(TGridOption::goEditing) &&
         !m_options.Contains(TGridOption::goRowSelect) && m_current.X >= FixedCols() &&
         m_current.Y >= FixedRows();
}

bool TorvCustomGrid::EditorShowing() const { return m_editor && !m_editor->isHidden(); }

void TorvCustomGrid::SetEditorMode(bool value) {
  if (value)
    ShowEditor();
  else
    HideEditor();
}

void TorvCustomGrid::ShowEditor() {
  if (!CanEditShow()) return;
  m_editorMode = true;
  UpdateEditor();
  if (EditorShowing()) {
    m_editor->setFocus();
    m_editor->deselect();
    m_editor->end(false);
  }
}

void TorvCustomGrid::HideEditor() {
  m_editorMode = false;
  UpdateEditor();
}

// Shows, moves or hides the editor to match the editor mode and the current cell.
void TorvCustomGrid::UpdateEditor() {
  const QRect cell = CellRect(m_current.X, m_current.Y);
  const bool wanted = m_editorMode && CanEditShow() && !cell.isEmpty();
  if (!wanted) {
    if (!EditorShowing()) return;
    CommitEditor();
    const bool hadFocus = m_editor->hasFocus();
    // The editor holds no cell from here on, so the grid keeps the focus it takes back
    // instead of handing it to the editor that is still showing.
    m_editorCell = {-1, -1};
    if (hadFocus) setFocus();
    m_editor->hide();
    InvalidateCell(m_current.X, m_current.Y);
    return;
  }
  if (!m_editor) m_editor = new TInplaceEdit(*this);
  if (!EditorShowing() || !(m_editorCell == m_current)) {
    m_editorCell = m_current;
    m_editor->setInputMask(GetEditMask(m_current.X, m_current.Y));
    m_editorLoadedText = GetEditText(m_current.X, m_current.Y);
    m_editor->setText(m_editorLoadedText);
    m_editor->setAccessibleName(SpokenEditorTitle(m_current.X, m_current.Y));
  }
  m_editor->setFont(font());
  m_editor->setGeometry(cell);
  if (m_editor->isHidden()) {
    const bool hadFocus = hasFocus();
    m_editor->show();
    if (hadFocus) m_editor->setFocus();
  }
}

// Writes what was typed back into the cell, once per change.
void TorvCustomGrid::CommitEditor() {
  if (!EditorShowing() || m_editorCell.X < 0) return;
  const QString text = m_editor->text();
  if (text == m_editorLoadedText) return;
  m_editorLoadedText = text;
  SetEditText(m_editorCell.X, m_editorCell.Y, text);
  InvalidateCell(m_editorCell.X, m_editorCell.Y);
  SpeakCellChanged(*this, *this, m_editorCell.X, m_editorCell.Y);
}

void TorvCustomGrid::InvalidateEditor() {
  if (!EditorShowing()) return;
  m_editorLoadedText = GetEditText(m_editorCell.X, m_editorCell.Y);
  m_editor->setText(m_editorLoadedText);
}

void TorvCustomGrid::ShowEditorChar(const QString& text) {
  ShowEditor();
  if (!EditorShowing()) return;
  m_editor->setText(text);
  m_editor->end(false);
}

// Keys typed into the grid itself that open the editor.
bool TorvCustomGrid::EditingKey(QKeyEvent* event) {
  if (!m_options.Contains(TGridOption::goEditing) || m_options.Contains(TGridOption::goRowSelect))
    return false;
  switch (event->key()) {
    case Qt::Key_F2:
    case Qt::Key_Return:
    case Qt::Key_Enter: ShowEditor(); return EditorShowing();
    default: break;
  }
  const QString text = event->text();
  const bool plain = !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
  if (plain && !text.isEmpty() && text.at(0).isPrint()) {
    ShowEditorChar(text);
    return EditorShowing();
  }
  return false;
}

// Keys the editor hands over: Enter keeps the text, Esc drops it, the rest move.
void TorvCustomGrid::EditorKey(QKeyEvent* event) {
  const bool alwaysShow = m_options.Contains(TGridOption::goAlwaysShowEditor);
  switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      CommitEditor();
      if (alwaysShow)
        m_editor->selectAll();
      else
        HideEditor();
      return;
    case Qt::Key_Escape:
      InvalidateEditor();
      if (alwaysShow)
        m_editor->selectAll();
      else
        HideEditor();
      return;
    default: NavigationKey(event); return;
  }
}

}  // namespace kzm::ui
