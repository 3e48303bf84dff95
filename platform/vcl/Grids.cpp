#include "platform/vcl/Grids.h"

#include "platform/core/StrUtils.h"
#include "platform/vcl/FormReader.h"
#include "platform/vcl/PropertyReaders.h"
#include "platform/vcl/WinUser.h"

#include <algorithm>

namespace {
// Limits against definitions (or callers) asking for absurd grids.
constexpr int kMaxCells = 1 << 20;
constexpr int kEdge = 2;
} // namespace

TStringGrid::TStringGrid(TComponent* owner) : TCustomControl(owner) {
    SetColor(clWindow);
    SetTabStop(true);
    colWidths_.assign(5, defaultColWidth_);
    rowHeights_.assign(5, defaultRowHeight_);
    cells_.assign(5, std::vector<std::string>(5));
    SetBounds(0, 0, 320, 120);
}

void TStringGrid::Check(int col, int row) const {
    if (col < 0 || col >= ColCount() || row < 0 || row >= RowCount())
        throw EInvalidGridOperation("Grid index out of range");
}

void TStringGrid::SetColCount(int value) {
    if (value < 1 || static_cast<long long>(value) * RowCount() > kMaxCells)
        throw EInvalidGridOperation("Grid index out of range");
    colWidths_.resize(static_cast<std::size_t>(value), defaultColWidth_);
    for (auto& row : cells_)
        row.resize(static_cast<std::size_t>(value));
    fixedCols_ = std::min(fixedCols_, value - 1);
    col_ = std::clamp(col_, fixedCols_, value - 1);
    Invalidate();
}

void TStringGrid::SetRowCount(int value) {
    if (value < 1 || static_cast<long long>(value) * ColCount() > kMaxCells)
        throw EInvalidGridOperation("Grid index out of range");
    rowHeights_.resize(static_cast<std::size_t>(value), defaultRowHeight_);
    cells_.resize(static_cast<std::size_t>(value),
                  std::vector<std::string>(static_cast<std::size_t>(ColCount())));
    fixedRows_ = std::min(fixedRows_, value - 1);
    row_ = std::clamp(row_, fixedRows_, value - 1);
    Invalidate();
}

void TStringGrid::SetFixedCols(int value) {
    if (value < 0 || value >= ColCount())
        throw EInvalidGridOperation("Fixed column count must be less than column count");
    fixedCols_ = value;
    col_ = value;
    Invalidate();
}

void TStringGrid::SetFixedRows(int value) {
    if (value < 0 || value >= RowCount())
        throw EInvalidGridOperation("Fixed row count must be less than row count");
    fixedRows_ = value;
    row_ = value;
    Invalidate();
}

void TStringGrid::SetDefaultColWidth(int value) {
    defaultColWidth_ = std::max(value, 0);
    std::fill(colWidths_.begin(), colWidths_.end(), defaultColWidth_);
    Invalidate();
}

void TStringGrid::SetDefaultRowHeight(int value) {
    defaultRowHeight_ = std::max(value, 0);
    std::fill(rowHeights_.begin(), rowHeights_.end(), defaultRowHeight_);
    Invalidate();
}

int TStringGrid::ColWidths(int col) const {
    Check(col, 0);
    return colWidths_[static_cast<std::size_t>(col)];
}

void TStringGrid::SetColWidths(int col, int width) {
    Check(col, 0);
    colWidths_[static_cast<std::size_t>(col)] = std::max(width, 0);
    Invalidate();
}

int TStringGrid::RowHeights(int row) const {
    Check(0, row);
    return rowHeights_[static_cast<std::size_t>(row)];
}

void TStringGrid::SetRowHeights(int row, int height) {
    Check(0, row);
    rowHeights_[static_cast<std::size_t>(row)] = std::max(height, 0);
    Invalidate();
}

void TStringGrid::SetGridLineWidth(int value) {
    gridLineWidth_ = std::max(value, 0);
    Invalidate();
}

void TStringGrid::SetOptions(TGridOptions value) {
    options_ = value;
    Invalidate();
}

void TStringGrid::SetFixedColor(TColor value) {
    fixedColor_ = value;
    Invalidate();
}

void TStringGrid::SetBorderStyle(TBorderStyle value) {
    borderStyle_ = value;
    UpdateChildGeometry();
    Invalidate();
}

TRect TStringGrid::ClientRect() const {
    const int edge = borderStyle_ == bsSingle ? kEdge : 0;
    return Rect(0, 0, std::max(Width() - 2 * edge, 0), std::max(Height() - 2 * edge, 0));
}

TPoint TStringGrid::ClientOffset() const {
    const int edge = borderStyle_ == bsSingle ? kEdge : 0;
    return Point(edge, edge);
}

std::string TStringGrid::Cells(int col, int row) const {
    if (col < 0 || col >= ColCount() || row < 0 || row >= RowCount()) return std::string();
    return cells_[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)];
}

void TStringGrid::SetCells(int col, int row, const std::string& text) {
    Check(col, row);
    cells_[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)] = text;
    Invalidate();
}

int TStringGrid::CellStart(const std::vector<int>& extents, int index) const {
    long long start = 0;
    for (int i = 0; i < index; ++i)
        start += extents[static_cast<std::size_t>(i)] + gridLineWidth_;
    return static_cast<int>(std::min<long long>(start, 0x3FFFFFFF));
}

int TStringGrid::CellAt(const std::vector<int>& extents, int, int position) const {
    if (position < 0) return -1;
    long long end = 0;
    for (std::size_t i = 0; i < extents.size(); ++i) {
        end += extents[i] + gridLineWidth_;
        if (position < end) return static_cast<int>(i);
    }
    return -1;
}

void TStringGrid::MouseToCell(int x, int y, int& col, int& row) const {
    col = CellAt(colWidths_, fixedCols_, x);
    row = CellAt(rowHeights_, fixedRows_, y);
}

TGridCoord TStringGrid::MouseCoord(int x, int y) const {
    TGridCoord c;
    MouseToCell(x, y, c.X, c.Y);
    if (c.X < 0 || c.Y < 0) c.X = c.Y = -1;
    return c;
}

TRect TStringGrid::CellRect(int col, int row) const {
    if (col < 0 || col >= ColCount() || row < 0 || row >= RowCount()) return TRect{};
    const int left = CellStart(colWidths_, col);
    const int top = CellStart(rowHeights_, row);
    return Rect(left, top, left + colWidths_[static_cast<std::size_t>(col)],
                top + rowHeights_[static_cast<std::size_t>(row)]);
}

bool TStringGrid::SelectCell(int col, int row) {
    bool canSelect = true;
    OnSelectCell(this, col, row, canSelect);
    return canSelect;
}

void TStringGrid::MoveCurrent(int col, int row) {
    if (col < fixedCols_ || col >= ColCount() || row < fixedRows_ || row >= RowCount())
        throw EInvalidGridOperation("Grid index out of range");
    if (col == col_ && row == row_) return;
    if (!SelectCell(col, row)) return;
    col_ = col;
    row_ = row;
    Invalidate();
    Click();
}

void TStringGrid::SetCol(int value) {
    MoveCurrent(value, row_);
}
void TStringGrid::SetRow(int value) {
    MoveCurrent(col_, value);
}

void TStringGrid::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (button == mbLeft && !shift.Contains(ssDouble)) {
        if (CanFocus() && !Focused()) SetFocus();
        int col = -1;
        int row = -1;
        MouseToCell(x, y, col, row);
        if (col >= fixedCols_ && row >= fixedRows_) MoveCurrent(col, row);
    }
    TCustomControl::MouseDown(button, shift, x, y);
}

void TStringGrid::KeyDown(WORD& key, TShiftState shift) {
    TCustomControl::KeyDown(key, shift);
    int col = col_;
    int row = row_;
    switch (key) {
    case VK_LEFT:
        col = std::max(col - 1, fixedCols_);
        break;
    case VK_RIGHT:
        col = std::min(col + 1, ColCount() - 1);
        break;
    case VK_UP:
        row = std::max(row - 1, fixedRows_);
        break;
    case VK_DOWN:
        row = std::min(row + 1, RowCount() - 1);
        break;
    case VK_HOME:
        col = fixedCols_;
        break;
    case VK_END:
        col = ColCount() - 1;
        break;
    default:
        return;
    }
    MoveCurrent(col, row);
}

void TStringGrid::DrawCell(int col, int row, const TRect& rect, TGridDrawState state) {
    OnDrawCell(this, col, row, rect, state);
}

void TStringGrid::Paint() {
    TCanvas* canvas = Canvas();
    const int edge = borderStyle_ == bsSingle ? kEdge : 0;
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(Color());
    canvas->FillRect(Rect(0, 0, Width(), Height()));
    if (edge) {
        canvas->Pen()->SetColor(clBtnShadow);
        canvas->Polyline({Point(0, Height() - 1), Point(0, 0), Point(Width() - 1, 0)});
        canvas->Pen()->SetColor(clBtnHighlight);
        canvas->Polyline({Point(Width() - 1, 0), Point(Width() - 1, Height() - 1), Point(0, Height() - 1)});
        canvas->Pen()->SetColor(cl3DDkShadow);
        canvas->Polyline({Point(1, Height() - 2), Point(1, 1), Point(Width() - 2, 1)});
    }
    const bool focused = Focused();
    for (int row = 0; row < RowCount(); ++row) {
        for (int col = 0; col < ColCount(); ++col) {
            TRect r = CellRect(col, row);
            r.Left += edge;
            r.Right += edge;
            r.Top += edge;
            r.Bottom += edge;
            if (r.Left >= Width() - edge || r.Top >= Height() - edge) continue;
            const bool fixed = col < fixedCols_ || row < fixedRows_;
            TGridDrawState state;
            if (fixed) state << gdFixed;
            if (!fixed && col == col_ && row == row_) {
                state << gdSelected;
                if (focused) state << gdFocused;
            }
            // Grid lines right of and below the cell.
            const bool vert = options_.Contains(fixed ? goFixedVertLine : goVertLine);
            const bool horz = options_.Contains(fixed ? goFixedHorzLine : goHorzLine);
            canvas->Brush()->SetColor(fixed ? clBlack : clSilver);
            if (vert && gridLineWidth_ > 0)
                canvas->FillRect(Rect(r.Right, r.Top, r.Right + gridLineWidth_, r.Bottom + gridLineWidth_));
            if (horz && gridLineWidth_ > 0)
                canvas->FillRect(Rect(r.Left, r.Bottom, r.Right + gridLineWidth_, r.Bottom + gridLineWidth_));
            if (defaultDrawing_) {
                const bool highlight =
                    state.Contains(gdSelected) &&
                    (!state.Contains(gdFocused) || options_.Contains(goDrawFocusSelected) ||
                     options_.Contains(goRowSelect));
                canvas->Brush()->SetColor(fixed ? fixedColor_ : highlight ? clHighlight : Color());
                canvas->Font()->Assign(Font());
                if (highlight) canvas->Font()->SetColor(clHighlightText);
                canvas->TextRect(r, r.Left + 2, r.Top + 2, Cells(col, row));
                if (state.Contains(gdFocused) && !options_.Contains(goDrawFocusSelected))
                    canvas->DrawFocusRect(r);
            }
            DrawCell(col, row, r, state);
        }
    }
}

bool TStringGrid::ReadProperty(TPropertyReader& r) {
    if (r.Is("ColCount")) {
        SetColCount(r.Integer());
    } else if (r.Is("RowCount")) {
        SetRowCount(r.Integer());
    } else if (r.Is("FixedCols")) {
        SetFixedCols(r.Integer());
    } else if (r.Is("FixedRows")) {
        SetFixedRows(r.Integer());
    } else if (r.Is("DefaultColWidth")) {
        SetDefaultColWidth(r.Integer());
    } else if (r.Is("DefaultRowHeight")) {
        SetDefaultRowHeight(r.Integer());
    } else if (r.Is("GridLineWidth")) {
        SetGridLineWidth(r.Integer());
    } else if (r.Is("FixedColor")) {
        SetFixedColor(ReadColorValue(r));
    } else if (r.Is("DefaultDrawing")) {
        SetDefaultDrawing(r.Boolean());
    } else if (r.Is("BorderStyle")) {
        SetBorderStyle(r.Enum<TBorderStyle>({{"bsNone", bsNone}, {"bsSingle", bsSingle}}));
    } else if (r.Is("ScrollBars")) {
        // The grids of the system show every cell; none has scroll bars.
        if (r.Ident() != "ssNone") r.Fail("only grids without scroll bars are supported");
    } else if (r.Is("Options")) {
        SetOptions(r.EnumSet<TGridOption>({{"goFixedVertLine", goFixedVertLine},
                                           {"goFixedHorzLine", goFixedHorzLine},
                                           {"goVertLine", goVertLine},
                                           {"goHorzLine", goHorzLine},
                                           {"goRangeSelect", goRangeSelect},
                                           {"goDrawFocusSelected", goDrawFocusSelected},
                                           {"goRowSizing", goRowSizing},
                                           {"goColSizing", goColSizing},
                                           {"goRowMoving", goRowMoving},
                                           {"goColMoving", goColMoving},
                                           {"goEditing", goEditing},
                                           {"goTabs", goTabs},
                                           {"goRowSelect", goRowSelect},
                                           {"goAlwaysShowEditor", goAlwaysShowEditor},
                                           {"goThumbTracking", goThumbTracking}}));
    } else if (r.Is("OnDrawCell")) {
        OnDrawCell = r.Event<TDrawCellEvent>();
    } else if (r.Is("OnSelectCell")) {
        OnSelectCell = r.Event<TSelectCellEvent>();
    } else {
        return TCustomControl::ReadProperty(r);
    }
    return true;
}
