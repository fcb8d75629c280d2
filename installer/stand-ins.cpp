// Stand-ins for the font rendering and image loading that Motif links but
// the installer never uses: Xft fonts (render tables of font type XFT) and
// PNG and JPEG pixmap files.  Linked into the installer's image before the
// toolkit, they keep Xft, fontconfig, FreeType, libpng and libjpeg out of it.
// Each one answers as the real library does when it cannot help: no Xft font
// opens and no Xft drawable is made, no PNG signature matches, and a JPEG
// decompressor reports its error as it is made.  Motif then does what it does
// without them: it draws with X core fonts and refuses the pixmap file.
#include <cstdio>
#include <cstdlib>

#include <X11/Xft/Xft.h>
#include <jpeglib.h>
#include <png.h>

#include "messages.h"

extern "C" {

// Fontconfig patterns: none is made, so no font is ever matched.
FcPattern *FcPatternCreate(void) { return nullptr; }
void FcPatternDestroy(FcPattern *) {}
FcBool FcPatternAddInteger(FcPattern *, const char *, int) { return FcFalse; }
FcBool FcPatternAddString(FcPattern *, const char *, const FcChar8 *) { return FcFalse; }

// Xft fonts: none is found or opened.
FcPattern *XftFontMatch(Display *, int, const FcPattern *, FcResult *result) {
    if (result)
        *result = FcResultNoMatch;
    return nullptr;
}
XftFont *XftFontOpenPattern(Display *, FcPattern *) { return nullptr; }
void XftFontClose(Display *, XftFont *) {}

// Xft drawing: there is no font to draw with, so every drawable is refused.
XftDraw *XftDrawCreate(Display *, Drawable, Visual *, Colormap) { return nullptr; }
XftDraw *XftDrawCreateBitmap(Display *, Pixmap) { return nullptr; }
void XftDrawDestroy(XftDraw *) {}
Bool XftDrawSetClip(XftDraw *, Region) { return False; }
Bool XftDrawSetClipRectangles(XftDraw *, int, int, const XRectangle *, int) { return False; }
void XftDrawRect(XftDraw *, const XftColor *, int, int, unsigned int, unsigned int) {}
void XftDrawString16(XftDraw *, const XftColor *, XftFont *, int, int, const FcChar16 *, int) {}
void XftDrawString32(XftDraw *, const XftColor *, XftFont *, int, int, const FcChar32 *, int) {}
void XftDrawStringUtf8(XftDraw *, const XftColor *, XftFont *, int, int, const FcChar8 *, int) {}

// Measures text in no font: it takes no room.
static void MeasureNothing(XGlyphInfo *extents) {
    if (extents)
        *extents = XGlyphInfo{};
}
void XftTextExtents8(Display *, XftFont *, const FcChar8 *, int, XGlyphInfo *extents) {
    MeasureNothing(extents);
}
void XftTextExtents16(Display *, XftFont *, const FcChar16 *, int, XGlyphInfo *extents) {
    MeasureNothing(extents);
}
void XftTextExtents32(Display *, XftFont *, const FcChar32 *, int, XGlyphInfo *extents) {
    MeasureNothing(extents);
}
void XftTextExtentsUtf8(Display *, XftFont *, const FcChar8 *, int, XGlyphInfo *extents) {
    MeasureNothing(extents);
}

// PNG: no file is a PNG image, and no reader can be made.
int png_sig_cmp(png_const_bytep, size_t, size_t) { return 1; }
png_structp png_create_read_struct(png_const_charp, png_voidp, png_error_ptr, png_error_ptr) {
    return nullptr;
}
png_infop png_create_info_struct(png_const_structrp) { return nullptr; }
void png_destroy_read_struct(png_structpp, png_infopp, png_infopp) {}
jmp_buf *png_set_longjmp_fn(png_structrp, png_longjmp_ptr, size_t) {
    static jmp_buf neverTaken;
    return &neverTaken;
}
void png_init_io(png_structrp, png_FILE_p) {}
void png_set_sig_bytes(png_structrp, int) {}
void png_read_info(png_structrp, png_inforp) {}
void png_read_update_info(png_structrp, png_inforp) {}
void png_read_image(png_structrp, png_bytepp) {}
void png_read_end(png_structrp, png_inforp) {}
void png_set_expand(png_structrp) {}
void png_set_gamma(png_structrp, double, double) {}
void png_set_gray_to_rgb(png_structrp) {}
void png_set_strip_16(png_structrp) {}
png_uint_32 png_get_valid(png_const_structrp, png_const_inforp, png_uint_32) { return 0; }
png_uint_32 png_get_IHDR(png_const_structrp, png_const_inforp, png_uint_32 *, png_uint_32 *, int *,
                         int *, int *, int *, int *) {
    return 0;
}
png_byte png_get_channels(png_const_structrp, png_const_inforp) { return 0; }
png_uint_32 png_get_gAMA(png_const_structrp, png_const_inforp, double *) { return 0; }
size_t png_get_rowbytes(png_const_structrp, png_const_inforp) { return 0; }

// JPEG: the error manager's default exit, for a caller that keeps it.
static void ExitOnJpegError(j_common_ptr info) {
    (*info->err->output_message)(info);
    exit(EXIT_FAILURE);
}

// Writes the one message this library has into a caller's buffer.
static void FormatJpegMessage(j_common_ptr, char *buffer) {
    snprintf(buffer, JMSG_LENGTH_MAX, "%s", MSG_NO_JPEG_SUPPORT);
}

// Prints the message on standard error, as libjpeg does.
static void PrintJpegMessage(j_common_ptr info) {
    char buffer[JMSG_LENGTH_MAX];
    (*info->err->format_message)(info, buffer);
    fprintf(stderr, "%s\n", buffer);
}

// Warnings never arise: there is nothing to warn about.
static void IgnoreJpegWarning(j_common_ptr, int) {}

// Forgets the warnings counted, as between two images.
static void ResetJpegErrors(j_common_ptr info) { info->err->num_warnings = 0; }

// Fills in an error manager whose every procedure a caller may call.
struct jpeg_error_mgr *jpeg_std_error(struct jpeg_error_mgr *errors) {
    *errors = jpeg_error_mgr{};
    errors->error_exit = ExitOnJpegError;
    errors->emit_message = IgnoreJpegWarning;
    errors->output_message = PrintJpegMessage;
    errors->format_message = FormatJpegMessage;
    errors->reset_error_mgr = ResetJpegErrors;
    return errors;
}

// A decompressor fails as it is made, through the caller's error manager.
void jpeg_CreateDecompress(j_decompress_ptr info, int, size_t) {
    (*info->err->error_exit)(reinterpret_cast<j_common_ptr>(info));
}
void jpeg_destroy_decompress(j_decompress_ptr) {}
void jpeg_stdio_src(j_decompress_ptr, FILE *) {}
int jpeg_read_header(j_decompress_ptr, boolean) { return JPEG_SUSPENDED; }
void jpeg_calc_output_dimensions(j_decompress_ptr) {}
boolean jpeg_start_decompress(j_decompress_ptr) { return FALSE; }
JDIMENSION jpeg_read_scanlines(j_decompress_ptr, JSAMPARRAY, JDIMENSION) { return 0; }
boolean jpeg_finish_decompress(j_decompress_ptr) { return FALSE; }
}
