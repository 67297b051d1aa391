#pragma once
// The elements of the rights data that the application server hands out
// after Connect (its PowerData property). Read them with ElementAt and
// ElementText (common/VariantElements.h): the array may be missing (no
// server) or shorter than this list.

enum TPowerDataElement {
    PowerDataMainCondition = 0, // the condition on the program's main table
    PowerDataRightsString = 1,
    PowerDataPriceRight = 2,
    PowerDataGroup = 3,
    PowerDataRightsApply = 4, // "Y" when data rights apply
    PowerDataRightsList = 5, // [count, "TABLE condition", ...]
};
