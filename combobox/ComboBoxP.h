/*
 * DtComboBox: class and instance records, for writers of subclasses.
 */
#ifndef DT_COMBOBOXP_H
#define DT_COMBOBOXP_H

#include <Xm/ManagerP.h>
#include "ComboBox.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct {
    XtPointer extension;        /* always NULL */
} DtComboBoxClassPart;

typedef struct _DtComboBoxClassRec {
    CoreClassPart       core_class;
    CompositeClassPart  composite_class;
    ConstraintClassPart constraint_class;
    XmManagerClassPart  manager_class;
    DtComboBoxClassPart combo_box_class;
} DtComboBoxClassRec;

extern DtComboBoxClassRec dtComboBoxClassRec;

/* What the combo box knows of its items' texts; private to the class. */
typedef struct _DtComboBoxItemIndex DtComboBoxItemIndex;

typedef struct {
    /* children and private state */
    Widget arrowButton;         /* "ComboBoxArrow" */
    Widget popupShell;          /* "ComboBoxMenuShell" */
    Widget popupFrame;          /* "ComboBoxRowColumn" */
    Widget labelWidget;         /* label variant, else NULL */
    Widget separatorWidget;     /* label variant, else NULL */
    Dimension lastWidth;        /* size when the shadow was last drawn */
    Dimension lastHeight;
    Dimension labelMaxWidth;    /* widest and tallest item in the label */
    Dimension labelMaxHeight;
    Dimension shellWidth;       /* size of the drop-down when last fitted */
    Dimension shellHeight;

    /* resources */
    XtCallbackList activateCallback;
    unsigned char alignment;
    Dimension arrowSize;        /* synthetic only, never read */
    Dimension arrowSpacing;
    unsigned char arrowType;
    short columns;
    XtCallbackList focusCallback;
    Dimension horizontalSpacing;
    int itemCount;              /* kept equal to the list's */
    XmStringTable items;        /* the list's own table */
    XmString labelString;       /* our own copy */
    Widget list;                /* "List" */
    XmFontList listFontList;
    Dimension listMarginHeight;
    Dimension listMarginWidth;
    Dimension listSpacing;
    XtCallbackList losingFocusCallback;
    Dimension marginHeight;
    Dimension marginWidth;
    int maxLength;
    XtCallbackList menuPostCallback;
    unsigned char orientation;
    Boolean poppedUp;           /* True while the list is dropped down */
    Boolean recomputeSize;
    XmString selectedItem;      /* points into the list's table, not owned */
    int selectedPosition;       /* zero-based */
    XtCallbackList selectionCallback;
    Widget textField;           /* text-field variant, else NULL */
    int topItemPosition;
    unsigned char type;
    Boolean updateLabel;
    Dimension verticalSpacing;
    int visibleItemCount;
    XmRenderTable renderTable;  /* of the text field and the label */
    XtCallbackList valueChangedCallback;

    /* private state */
    char *reportedText;         /* an edit already reported to activateCallback */
    DtComboBoxItemIndex *itemIndex; /* made when first asked */
    XtIntervalId grabRetry;     /* a pending retry of the drop-down's grabs */
    int grabTriesLeft;
    Boolean pointerGrabbed;     /* the grabs that the drop-down holds */
    Boolean keyboardGrabbed;
    Boolean droppedByPress;     /* down since a press on the arrow, not yet released */
    Boolean focusLent;          /* the text field lent its focus to the list */
    XmString reportedItem;      /* a copy of the current item as last reported */
    XmString reportedListItem;  /* the list's own string of it, while it stays */
} DtComboBoxPart;

typedef struct _DtComboBoxRec {
    CorePart       core;
    CompositePart  composite;
    ConstraintPart constraint;
    XmManagerPart  manager;
    DtComboBoxPart combo_box;
} DtComboBoxRec;

typedef struct _DtComboBoxRec *DtComboBoxWidget;

#ifdef __cplusplus
}
#endif

#endif
