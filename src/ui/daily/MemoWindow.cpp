#include "ui/daily/MemoWindow.h"

#include <QCloseEvent>
#include <QFont>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextEdit>
#include <QVBoxLayout>

#include "controls/FormHelper.h"
#include "foundation/Concat.h"
#include "foundation/DateTexts.h"
#include "foundation/WindowSystem.h"
#include "passbook/DayMemos.h"
#include "ui/common/QtWindowSystem.h"
#include "views/MemoDocument.h"

namespace kzm::ui {

TFmMemo::TFmMemo(QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName(QStringLiteral("FmMemo"));
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(QStringLiteral("月メモ"));
  resize(553, 420);

  m_memo = new QTextEdit(this);
  m_memo->setObjectName(QStringLiteral("Memo"));
  m_memo->setAccessibleName(QStringLiteral("月めも"));
  m_memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  m_memo->setAcceptRichText(false);  // pasted text comes in plain; the date lines stay ours
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(m_memo);
  connect(m_memo, &QTextEdit::textChanged, this, [this] {
    if (!m_loading) m_modified = true;
  });

  m_formFunc = new TorvFormFunc(this);
  m_formFunc->setObjectName(QStringLiteral("orvFormFunc1"));
  m_formFunc->SetPreserve(true);
  m_formFunc->SetKeepLocation(true);
  m_formFunc->SetKeepSize(true);
  RegisterDataWindow(this);
}

TFmMemo::~TFmMemo() = default;

void TFmMemo::SetPeriod(TDayNumber first, TDayNumber last) {
  m_first = first;
  m_last = last;
}

TDataWindow TFmMemo::DataWindowInfo() const { return {TDataWindowKind::dwMemo, m_first, m_last}; }

void TFmMemo::LoadMemos() {
  m_loading = true;
  m_memo->clear();
  QTextCursor cursor(m_memo->document());
  QTextCharFormat regular;
  regular.setFontWeight(QFont::Normal);
  QTextCharFormat bold;
  bold.setFontWeight(QFont::Bold);
  for (const TDayMemo& memo : DayMemosOfPeriod(m_first, m_last)) {
    cursor.insertText(QString::fromStdString(FormatDateSlashed(memo.day)), bold);
    cursor.insertBlock();
    QString text = QString::fromStdString(memo.text);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    cursor.insertText(text + QStringLiteral("\n\n"), regular);
  }
  m_memo->moveCursor(QTextCursor::Start);
  setWindowTitle(QString::fromStdString(Concat({"月めも ", FormatDateShort(m_first), "～", FormatDateShort(m_last)})));
  m_loading = false;
  m_modified = false;
}

std::string TFmMemo::DocumentText() const { return m_memo->toPlainText().toStdString(); }

bool TFmMemo::StoreMemos() {
  const bool saved = StoreMemoDocument(DocumentText(), m_first, m_last);
  m_modified = false;
  return saved;
}

bool TFmMemo::CloseQuery(bool byUser) {
  if (!m_modified) return true;
  if (!WindowSystem().AskYesNo("変更した内容を保存しますか？")) return true;
  if (HasDateOutside(DocumentText(), m_first, m_last) &&
      !WindowSystem().AskYesNo("期間外の日付があります。保存しますか？")) {
    return !byUser;
  }
  StoreMemos();
  return true;
}

void TFmMemo::closeEvent(QCloseEvent* event) {
  if (CloseQuery(!ClosedByProgram(this))) {
    event->accept();
  } else {
    event->ignore();
  }
}

void TFmMemo::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (m_placed) return;
  m_placed = true;
  CascadeForm(*this);
}

}  // namespace kzm::ui
