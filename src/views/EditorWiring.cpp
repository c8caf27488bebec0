// The recipe editor's part of the main screen: its buttons, the Enter key in
// its boxes, the clicks on the two lists and the lists' menus.
#include <QAction>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "screens/entry/EditorFields.h"
#include "screens/entry/QueueEditor.h"
#include "screens/entry/RecipeEditor.h"
#include "station/StationState.h"
#include "views/MainFormView.h"

namespace dye {

void MainFormView::connectEditor(RecipeEditor& recipes, QueueEditor& queue) {
    const auto onClick = [this](const char* name, std::function<void()> handler) {
        if (auto* b = findChild<QPushButton*>(QString::fromLatin1(name)))
            connect(b, &QPushButton::clicked, this, [this, handler] { forward(handler); });
    };
    onClick("Command1", [&recipes] { recipes.saveAsNew(); });
    onClick("Command2", [&recipes] { recipes.overwriteSelected(); });
    onClick("Command3", [&recipes] { recipes.deleteSelected(); });
    onClick("Command4", [&recipes] { recipes.refillAndClear(); });
    onClick("Command14", [&recipes] { recipes.refillKeepingEntry(); });
    onClick("Command5", [&queue] { queue.queueRecipe(); });
    onClick("Command6", [&queue] { queue.deleteSelected(); });

    const auto onMenu = [this](const char* name, std::function<void()> handler) {
        if (auto* a = findChild<QAction*>(QString::fromLatin1(name)))
            connect(a, &QAction::triggered, this, [this, handler] { forward(handler); });
    };
    onMenu("delete", [&recipes] { recipes.deleteSelected(); });
    onMenu("delete2", [&queue] { queue.deleteSelected(); });

    // A selection made any way (mouse, keys, a screen reader) is the list's
    // ListIndex; a mouse click on an entry is the list's click.
    for (auto [list, model] : {std::pair{list1_, &model_.List1}, std::pair{list2_, &model_.List2}})
        connect(list, &QListWidget::itemSelectionChanged, this, [list, model] {
            const QList<QListWidgetItem*> picked = list->selectedItems();
            model->ListIndex = picked.isEmpty() ? -1 : list->row(picked.first());
        });
    connect(list1_, &QListWidget::itemClicked, this,
            [this, &recipes] { forward([&recipes] { recipes.recipeClicked(); }); });
    connect(list2_, &QListWidget::itemClicked, this,
            [this, &queue] { forward([&queue] { queue.queueClicked(); }); });

    // Enter walks the recipe: order number, then each row's code and weight.
    connect(text2_, &QLineEdit::returnPressed, this,
            [this] { text1_[size_t(enterFromText2())]->setFocus(); });
    for (int k = 0; k < int(text1_.size()); ++k)
        connect(text1_[size_t(k)], &QLineEdit::returnPressed, this, [this, k] {
            if (const int next = enterFromText1(k); next >= 0) text1_[size_t(next)]->setFocus();
        });
}

}  // namespace dye
