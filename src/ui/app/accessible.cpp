#include "ui/app/accessible.h"

#include <QAccessible>
#include <QAbstractItemView>
#include <QAccessibleWidget>
#include <QFrame>
#include <QSizeGrip>
#include <QWidget>
#include <utility>

#include "ui/app/color_static.h"
#include "ui/app/progress_bar.h"
#include "ui/guide/color_swatch.h"
#include "ui/guide/guide_static.h"
#include "ui/users/calendar_page.h"
#include "ui/users/progress_chart.h"

namespace kibiki::ui {

namespace {

class AccessibleStatic : public QAccessibleWidget {
public:
    AccessibleStatic(CColorStatic* pStatic, QAccessible::Role role) : QAccessibleWidget(pStatic, role) {}
    QString text(QAccessible::Text t) const override {
        QString str = QAccessibleWidget::text(t);
        if (t == QAccessible::Name && str.isEmpty()) str = static_cast<CColorStatic*>(widget())->text();
        return str;
    }
};

// A widget of Qt's own that has no name to give.
class NamedWidget : public QAccessibleWidget {
public:
    NamedWidget(QWidget* p, QAccessible::Role role, QString strName)
        : QAccessibleWidget(p, role), m_strName(std::move(strName)) {}
    QString text(QAccessible::Text t) const override {
        return t == QAccessible::Name ? m_strName : QAccessibleWidget::text(t);
    }

private:
    QString m_strName;
};

class AccessibleProgress : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit AccessibleProgress(CProgressBar* pBar) : QAccessibleWidget(pBar, QAccessible::ProgressBar) {}
    void* interface_cast(QAccessible::InterfaceType t) override {
        return t == QAccessible::ValueInterface ? static_cast<QAccessibleValueInterface*>(this)
                                                : QAccessibleWidget::interface_cast(t);
    }
    QVariant currentValue() const override { return Bar()->value(); }
    void setCurrentValue(const QVariant&) override {}
    QVariant maximumValue() const override { return Bar()->maximum(); }
    QVariant minimumValue() const override { return Bar()->minimum(); }
    QVariant minimumStepSize() const override { return 1; }

private:
    CProgressBar* Bar() const { return static_cast<CProgressBar*>(widget()); }
};

const QLatin1String kNotice("spoken_notice");

QAccessibleInterface* Factory(const QString& strClass, QObject* pObject) {
    // Asked once per class of the object's chain: answer only for its own class.
    if (!pObject || strClass != QLatin1String(pObject->metaObject()->className())) return nullptr;
    if (pObject->objectName() == kNotice && pObject->isWidgetType())
        return new QAccessibleWidget(static_cast<QWidget*>(pObject), QAccessible::Notification);
    if (auto* p = qobject_cast<CColorSwatch*>(pObject)) return new AccessibleStatic(p, QAccessible::Button);
    if (auto* p = qobject_cast<CColorStatic*>(pObject)) return new AccessibleStatic(p, QAccessible::StaticText);
    if (auto* p = qobject_cast<CProgressBar*>(pObject)) return new AccessibleProgress(p);
    if (auto* p = qobject_cast<CGuideStatic*>(pObject)) return new QAccessibleWidget(p, QAccessible::Graphic);
    // A rule between parts of a dialog is no control: a reader passes over a separator.
    if (auto* p = qobject_cast<QFrame*>(pObject);
        p && strClass == QLatin1String("QFrame") && (p->frameShape() == QFrame::HLine || p->frameShape() == QFrame::VLine))
        return new QAccessibleWidget(p, QAccessible::Separator);
    // The bridge has no role for a grip (it would be said as unknown); the mouse's handle is a picture.
    if (auto* p = qobject_cast<QSizeGrip*>(pObject))
        return new NamedWidget(p, QAccessible::Graphic, QStringLiteral("サイズ変更のつまみ"));
    // Their names and descriptions are set on the widgets: the summary, the point or day chosen.
    if (auto* p = qobject_cast<CProgressChart*>(pObject)) return new QAccessibleWidget(p, QAccessible::Chart);
    if (auto* p = qobject_cast<CCalendarGrid*>(pObject)) return new QAccessibleWidget(p, QAccessible::Chart);
    return nullptr;
}

}  // namespace

void InstallAccessibleFactory() {
    static bool bInstalled = false;
    if (bInstalled) return;
    bInstalled = true;
    QAccessible::installFactory(Factory);
}

void Describe(QWidget& widget, const QString& strText) {
    // The name stays the control's own: it is what a reader says when the focus comes back.
    const bool bSame = widget.accessibleDescription() == strText;
    widget.setAccessibleDescription(strText);
    if (!QAccessible::isActive()) return;
    // The same text again is news (a second miss on the same key): the setter said nothing.
    if (bSame) {
        QAccessibleEvent description(&widget, QAccessible::DescriptionChanged);
        QAccessible::updateAccessibility(&description);
    }
    // Some bridges send the description event without its text; a name event makes a reader
    // read the object again.
    QAccessibleEvent name(&widget, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&name);
}

void Announce(QWidget& widget, const QString& strText) {
    Describe(widget, strText);
    if (!QAccessible::isActive() || !widget.isVisible()) return;
    // Qt 6.4's bridge sends the change events above without their new text, and a reader that
    // compares that text with the last one hears nothing new. A notification coming into view is
    // read from the object: one per window, hidden and shown again for each announcement.
    QWidget* pWindow = widget.window();
    auto* pNotice = pWindow->findChild<QWidget*>(kNotice, Qt::FindDirectChildrenOnly);
    if (!pNotice) {
        pNotice = new QWidget(pWindow);
        pNotice->setObjectName(kNotice);
        pNotice->setFocusPolicy(Qt::NoFocus);
        pNotice->setAttribute(Qt::WA_TransparentForMouseEvents);
        pNotice->setGeometry(0, 0, 1, 1);  // draws nothing
    }
    pNotice->setAccessibleName(strText);
    pNotice->hide();
    pNotice->show();
}

void MarkListFocus(QAbstractItemView& view) {
    view.setStyleSheet(QStringLiteral("QAbstractItemView:focus { border: 2px solid palette(highlight); }"));
}

}  // namespace kibiki::ui
