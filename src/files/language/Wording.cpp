#include "Wording.h"

#include "LangText.h"
#include "ToSimplified.h"

namespace dye {

QString wordingIn(int language, const Wording& w) {
    switch (LangText::validLanguage(language)) {
        case 1:
            return QString::fromUtf16(w.english);
        case 2:
            return ToSimplified(QString::fromUtf16(w.chinese));
        default:
            return QString::fromUtf16(w.chinese);
    }
}

QStringList yesNo(int language) {
    return {wordingIn(language, {u"是", u"Yes"}), wordingIn(language, {u"否", u"No"})};
}

}  // namespace dye
