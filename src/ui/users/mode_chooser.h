#pragma once
// The five practice modes as the weak-key pages offer them, in their stored order (index = Type).
#include <QComboBox>

namespace kibiki::ui {

inline void AddModeNames(QComboBox* pChooser) {
    pChooser->addItems({QStringLiteral("かな入力練習"), QStringLiteral("ローマ字入力練習"),
                        QStringLiteral("ひらがなローマ字入力練習"), QStringLiteral("かな入力練習（漢字）"),
                        QStringLiteral("ローマ字入力練習（漢字）")});
}

}  // namespace kibiki::ui
