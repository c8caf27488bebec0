// The main screen's two mixer labels: Label13 (the intake poll count) and
// Label20 (the idle count), whose double-clicks clear the mix marks and
// start the idle mixing cycle.
#include <QGridLayout>

#include "screens/main/MainScreen.h"
#include "views/MainFormView.h"
#include "views/ModelWidgets.h"

namespace dye {

void MainFormView::buildMixerLabels(QWidget* parent, QGridLayout* grid) {
    const auto label = [parent](const char* name) {
        auto* l = new ClickLabel(parent);
        l->setObjectName(QString::fromLatin1(name));
        setFontSize(l, 9);
        l->setAlignment(Qt::AlignCenter);
        // Something to double-click on even while the count is empty.
        l->setMinimumSize(40, 18);
        return l;
    };
    label13_ = label("Label13");
    label13_->onDoubleClick = [this] { forward([this] { screen_.clearMixMarks(); }); };
    label20_ = label("Label20");
    label20_->onDoubleClick = [this] { forward([this] { screen_.startIdleMixing(); }); };
    grid->addWidget(label13_, 2, 3);
    grid->addWidget(label20_, 2, 4);
}

}  // namespace dye
