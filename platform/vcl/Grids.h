// The string grid: cells of text in columns and rows, drawn by the grid or by its owner.
#pragma once

#include "platform/vcl/Controls.h"
#include "platform/vcl/Forms.h"

#include <string>
#include <vector>

HARBEK_DECLARE_EXCEPTION(EInvalidGridOperation, Exception);

enum TGridOption {
    goFixedVertLine,
    goFixedHorzLine,
    goVertLine,
    goHorzLine,
    goRangeSelect,
    goDrawFocusSelected,
    goRowSizing,
    goColSizing,
    goRowMoving,
    goColMoving,
    goEditing,
    goTabs,
    goRowSelect,
    goAlwaysShowEditor,
    goThumbTracking
};
using TGridOptions = TSet<TGridOption>;
enum TGridDrawStateItem { gdSelected, gdFocused, gdFixed };
using TGridDrawState = TSet<TGridDrawStateItem>;

struct TGridCoord {
    int X = 0;
    int Y = 0;
};

using TDrawCellEvent = TEvent<TObject*, int, int, TRect, TGridDrawState>;
using TSelectCellEvent = TEvent<TObject*, int, int, bool&>;

class TStringGrid : public TCustomControl {
public:
    explicit TStringGrid(TComponent* owner);

    int ColCount() const { return static_cast<int>(colWidths_.size()); }
    void SetColCount(int value);
    int RowCount() const { return static_cast<int>(rowHeights_.size()); }
    void SetRowCount(int value);
    int FixedCols() const { return fixedCols_; }
    void SetFixedCols(int value);
    int FixedRows() const { return fixedRows_; }
    void SetFixedRows(int value);
    // Setting a default size resizes every column (row).
    int DefaultColWidth() const { return defaultColWidth_; }
    void SetDefaultColWidth(int value);
    int DefaultRowHeight() const { return defaultRowHeight_; }
    void SetDefaultRowHeight(int value);
    int ColWidths(int col) const;
    void SetColWidths(int col, int width);
    int RowHeights(int row) const;
    void SetRowHeights(int row, int height);
    int GridLineWidth() const { return gridLineWidth_; }
    void SetGridLineWidth(int value);
    TGridOptions Options() const { return options_; }
    void SetOptions(TGridOptions value);
    TColor FixedColor() const { return fixedColor_; }
    void SetFixedColor(TColor value);
    bool DefaultDrawing() const { return defaultDrawing_; }
    void SetDefaultDrawing(bool value) { defaultDrawing_ = value; }
    TBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle value);

    // "" outside the grid; setting outside it raises EInvalidGridOperation.
    std::string Cells(int col, int row) const;
    void SetCells(int col, int row, const std::string& text);

    // The current cell. Moving it asks OnSelectCell, then fires OnClick, also from the program.
    int Col() const { return col_; }
    void SetCol(int value);
    int Row() const { return row_; }
    void SetRow(int value);

    // The cell under a client point; -1 for a coordinate past the last cell or in front of the first.
    // A grid line belongs to the cell before it.
    void MouseToCell(int x, int y, int& col, int& row) const;
    TGridCoord MouseCoord(int x, int y) const;
    // The cell's rectangle without its grid lines; empty outside the grid.
    TRect CellRect(int col, int row) const;

    TRect ClientRect() const override;
    TPoint ClientOffset() const override;
    bool ReadProperty(TPropertyReader& reader) override;

    TDrawCellEvent OnDrawCell;
    TSelectCellEvent OnSelectCell;

protected:
    void Paint() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void KeyDown(WORD& key, TShiftState shift) override;
    virtual void DrawCell(int col, int row, const TRect& rect, TGridDrawState state);
    bool SelectCell(int col, int row);

private:
    void MoveCurrent(int col, int row);
    int CellStart(const std::vector<int>& extents, int index) const;
    int CellAt(const std::vector<int>& extents, int fixed, int position) const;
    void Check(int col, int row) const;

    std::vector<int> colWidths_;
    std::vector<int> rowHeights_;
    std::vector<std::vector<std::string>> cells_; // [row][col]
    int fixedCols_ = 1;
    int fixedRows_ = 1;
    int defaultColWidth_ = 64;
    int defaultRowHeight_ = 24;
    int gridLineWidth_ = 1;
    int col_ = 1;
    int row_ = 1;
    TGridOptions options_ =
        TGridOptions{goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect};
    TColor fixedColor_ = clBtnFace;
    bool defaultDrawing_ = true;
    TBorderStyle borderStyle_ = bsSingle;
};
