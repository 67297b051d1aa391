#include "format/TfrmVRConvPic.h"
#include "format/TfrmVRSendOut.h"

#include "runtime/forms/ComCtrls.h"
#include "runtime/forms/StdCtrls.h"

#include <QWidget>
#include <gtest/gtest.h>

namespace {

// Saves the shown form to $ZORV_SCREENSHOT_DIR/<name>.png when that is set,
// for a look at the dialog; answers the picture either way.
QImage Picture(TForm& form, const QString& name)
{
    form.Show();
    const QImage picture = form.Widget()->grab().toImage();
    const QString folder = qEnvironmentVariable("ZORV_SCREENSHOT_DIR");
    if (!folder.isEmpty())
        picture.save(folder + QLatin1Char('/') + name + QStringLiteral(".png"));
    return picture;
}

} // namespace

TEST(SendDialogs, ConvertingDialogCountsPagesAndCancels)
{
    TfrmVRConvPic dialog;
    EXPECT_EQ(dialog.Caption(), QStringLiteral("转图档中"));
    EXPECT_EQ(dialog.Label1->Caption(), QStringLiteral("当前页数:"));
    EXPECT_EQ(dialog.btnCancel->Caption(), QStringLiteral("取消"));
    dialog.Start(12);
    EXPECT_EQ(dialog.lblState->Caption(), QStringLiteral("0/12"));
    dialog.Progress(5, 12);
    EXPECT_EQ(dialog.lblState->Caption(), QStringLiteral("5/12"));
    EXPECT_EQ(dialog.ProgressBar->Max(), 12);
    EXPECT_EQ(dialog.ProgressBar->Position(), 5);
    const QImage picture = Picture(dialog, QStringLiteral("TfrmVRConvPic"));
    EXPECT_FALSE(picture.isNull());
    EXPECT_TRUE(dialog.Widget()->windowFlags().testFlag(Qt::WindowStaysOnTopHint));

    int told = 0;
    dialog.OnCancel = [&] { ++told; };
    EXPECT_FALSE(dialog.Cancelled());
    dialog.btnCancel->Click();
    EXPECT_TRUE(dialog.Cancelled());
    EXPECT_EQ(told, 1);
    dialog.Start(3);
    EXPECT_FALSE(dialog.Cancelled()) << "a new run starts uncancelled";
}

TEST(SendDialogs, SendingDialogFollowsRecipientsAndPages)
{
    TfrmVRSendOut dialog;
    EXPECT_EQ(dialog.Caption(), QStringLiteral("传送"));
    EXPECT_EQ(dialog.Label2->Caption(), QStringLiteral("接收者:"));
    EXPECT_EQ(dialog.Label1->Caption(), QStringLiteral("转换页数:"));
    dialog.Start(7);
    ISendProgress& progress = dialog;
    progress.Recipient(QStringLiteral("C001 上海客户"), 1, 3);
    progress.File(1, 2);
    progress.File(2, 2);
    EXPECT_EQ(dialog.txtReceiver->Caption(), QStringLiteral("C001 上海客户"));
    EXPECT_EQ(dialog.txtReceiveCnt->Caption(), QStringLiteral("1/3"));
    EXPECT_EQ(dialog.txtPageCnt->Caption(), QStringLiteral("2/2"));
    EXPECT_EQ(dialog.ProgressBar1->Position(), 2);
    progress.Recipient(QStringLiteral("C002"), 2, 3);
    EXPECT_EQ(dialog.txtPageCnt->Caption(), QString()) << "page count starts over per recipient";
    EXPECT_FALSE(Picture(dialog, QStringLiteral("TfrmVRSendOut")).isNull());
    dialog.btnCancel->Click();
    EXPECT_TRUE(progress.Cancelled());
}
