#pragma once
// The fixed texts of the stock movements: refusals, questions, completions and failures.
#include <QString>

namespace stocktext {

// Refusals shown in the banner of the entry forms.
inline const QString kNameTooShort = QStringLiteral("商品名称最少4个西文字符, 保存失败！");
inline const QString kQuantityWrong = QStringLiteral("商品数量错误, 保存失败！");
inline const QString kDateWrong = QStringLiteral("日 期 有 误 , 保 存 失 败 ！");
// A number that cannot be stored (for example "1e999") in an amount or a price.
inline const QString kAmountWrong = QStringLiteral("金额错误, 保存失败！");
inline const QString kNumberWrong = QStringLiteral("数值错误, 保存失败！");

// Completions.
inline const QString kRegistered = QStringLiteral("新  商  品  注  册  完  成  ！");
inline const QString kSavedBanner = QStringLiteral("保   存   完   成  ！");
inline const QString kSavedBox = QStringLiteral("  保   存   完   成  ！  ");
inline const QString kRemoved = QStringLiteral("  注  销  成  功  ！  ");
inline const QString kUndone = QStringLiteral("  撤  消  完  成  ！  ");

// Failures: the goods forms use the first with the title "错误提示", the movement forms
// the second with the title "提示".
inline const QString kSaveFailedGoods = QStringLiteral("   保  存  失  败  ！ ");
inline const QString kSaveFailedMovement = QStringLiteral("   保  存  失  败  ！");
inline const QString kErrorTitle = QStringLiteral("错误提示");
inline const QString kHintTitle = QStringLiteral("提示");
inline const QString kRemoveFailed = QStringLiteral("  注  销  失  败  ！  ");
inline const QString kUndoFailed = QStringLiteral("  撤  消  失  败  ！  ");

// Removal of a goods item.
inline const QString kRemoveTitle = QStringLiteral("注销商品");
inline const QString kRemoveQuestion =
    QStringLiteral("  该操作将删除该物品以及它所有的出入库记录(不可恢复)  \r\n\r\n"
                   "     点击“是”开始删除，点击“否”取消本次操作。");

// Undoing the last sale or purchase of a goods item.
inline const QString kOnlyLastSale = QStringLiteral("仅可以撤销本商品的最后一次销售记录！    ");
inline const QString kOnlyLastPurchase = QStringLiteral("仅可以撤销本商品的最后一次进货记录！    ");
inline const QString kStockTooLow = QStringLiteral("库存商品数量不足，拒绝本次还原！  ");
inline const QString kUndoSaleQuestion =
    QStringLiteral("该操作将撤消本次销售并还原库存，点“是”完成撤销，点“否”取消本次操作。");
inline const QString kUndoPurchaseQuestion =
    QStringLiteral("该操作将撤消本次进货并还原库存，点“是”完成撤销，点“否”取消本次操作。");

// Operation-log prefixes.
inline const QString kLogRegistered = QStringLiteral("新商品注册入库:");
inline const QString kLogSale = QStringLiteral("售出登记:");
inline const QString kLogPurchase = QStringLiteral("进货登记:");
inline const QString kLogGoodsEdited = QStringLiteral("修改商品信息:");
inline const QString kLogGoodsRemoved = QStringLiteral("注销商品:");
inline const QString kLogSaleEdited = QStringLiteral("修改销售记录:");
inline const QString kLogPurchaseEdited = QStringLiteral("修改进货记录:");

} // namespace stocktext
