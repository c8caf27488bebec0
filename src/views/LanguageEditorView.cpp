#include "LanguageEditorView.h"

#include <QGridLayout>
#include <QLabel>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

#include "screens/language/LanguageEditor.h"
#include "views/Accessible.h"
#include "views/EntryBox.h"

namespace dye {
namespace {

const char* const kLanguages[3] = {"0", "1", "2"};

}  // namespace

LanguageEditorView::LanguageEditorView(LanguageEditor& editor, QWidget* parent)
    : QWidget(parent), editor_(editor) {
    setWindowTitle(editor_.form().Caption);
    resize(900, 700);
    auto* outer = new QVBoxLayout(this);
    auto* area = new QScrollArea(this);
    area->setObjectName(QStringLiteral("Texts"));
    area->setWidgetResizable(true);
    auto* inner = new QWidget(area);
    auto* grid = new QGridLayout(inner);
    grid->setVerticalSpacing(1);
    for (int l = 0; l < 3; ++l) {
        auto* header =
            new QLabel(QStringLiteral("language %1").arg(QLatin1String(kLanguages[l])), inner);
        header->setObjectName(QStringLiteral("Header_%1").arg(l));
        grid->addWidget(header, 0, l + 1);
    }
    for (int k = 0; k < Form5::kPerLanguage; ++k) {
        label1_[size_t(k)] = new QLabel(inner);
        label1_[size_t(k)]->setObjectName(QStringLiteral("Label1_%1").arg(k));
        label1_[size_t(k)]->setMinimumWidth(28);  // room for the row numbers before they are set
        grid->addWidget(label1_[size_t(k)], k + 1, 0);
    }
    for (int i = 0; i < Form5::kBoxes; ++i) {
        auto* box = new EntryBox(inner);
        box->setObjectName(QStringLiteral("Text1_%1").arg(i));
        box->setMinimumWidth(200);
        box->commit = [this, i](const QString& text) { return editor_.saveText(i, text); };
        nameControl(
            box,
            QStringLiteral("%1 / %2").arg(i / Form5::kPerLanguage).arg(i % Form5::kPerLanguage));
        text1_[size_t(i)] = box;
        grid->addWidget(box, i % Form5::kPerLanguage + 1, i / Form5::kPerLanguage + 1);
    }
    for (int i = 0; i + 1 < Form5::kBoxes; ++i) text1_[size_t(i)]->next = text1_[size_t(i + 1)];
    area->setWidget(inner);
    // The three languages side by side, whatever the window's size: only the
    // rows scroll.
    area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    area->setMinimumWidth(inner->sizeHint().width() +
                          area->verticalScrollBar()->sizeHint().width() + 2 * area->frameWidth());
    nameControl(area, QStringLiteral("language.txt"));
    outer->addWidget(area);
    describeControls(this, QStringLiteral("Form5"));
    render();
}

void LanguageEditorView::open() {
    editor_.open();
    editor_.form().Visible = true;
    render();
}

void LanguageEditorView::render() {
    const Form5& f = editor_.form();
    if (windowTitle() != f.Caption) setWindowTitle(f.Caption);
    for (int k = 0; k < Form5::kPerLanguage; ++k)
        if (label1_[size_t(k)]->text() != f.Label1[size_t(k)])
            label1_[size_t(k)]->setText(f.Label1[size_t(k)]);
    for (int i = 0; i < Form5::kBoxes; ++i) text1_[size_t(i)]->display(f.Text1[size_t(i)]);
}

}  // namespace dye
