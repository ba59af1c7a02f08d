// "Seitenansicht" of a window: the protocol's two pages in the preview.
#include "ViewFixture.h"
#include "view/window/ProtocolPrinting.h"

#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>

#include <gtest/gtest.h>

TEST(PrintPreview, OpensWithBothPagesOfTheProtocolAndClosesAgain) {
    viewtest::ViewHolder h;
    h.view->Workspace().ShowOnly({0, 1}, trv::FitCubic, trv::ModelMader);
    h.view->Evaluate();
    int pages = -1;
    QString title;
    // The preview lays its pages out once it is shown; then it is closed again.
    std::function<void()> look = [&] {
        QPrintPreviewDialog* dlg = h.view->Printing().OpenPreview();
        auto* widget = dlg ? dlg->findChild<QPrintPreviewWidget*>() : nullptr;
        if (!widget || widget->pageCount() == 0) {
            QTimer::singleShot(20, look);
            return;
        }
        pages = widget->pageCount();
        title = dlg->windowTitle();
        dlg->reject();
    };
    QTimer::singleShot(0, look);
    h.view->Printing().Preview();
    EXPECT_EQ(pages, 2);
    EXPECT_EQ(title, QStringLiteral("Seitenansicht"));
    EXPECT_EQ(h.view->Printing().OpenPreview(), nullptr);
}
