#pragma once

class NumberTable;
class QRandomGenerator;

// Fills all 3000 entries with a list that the device holds as it is and gives back cell for cell,
// and that a workbook and its row check take as it is: numbers of "+" and digits, windows in the
// form a read writes, Always entries, unused rows.
void fillRandomNumberList(NumberTable &t, QRandomGenerator &random);
