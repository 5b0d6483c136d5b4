#pragma once

class TForm1;
class THistoryInf;

// Connects the history page's buttons to the history transfer, the filter, the exports and the
// deletion on the device. The exports' dialogs open in the window's configuration folder. "Show
// all" brings back the rows of the last read after the filter has narrowed them.
void connectHistoryButtons(TForm1 &window, THistoryInf &history);
