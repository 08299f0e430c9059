// Stand-in for macOS's Cocoa umbrella header, for building the plug-in without Apple's SDK: just
// the Foundation and AppKit classes, methods, types and constants the progress window uses, with
// the SDK's names, signatures and values. The root class and BOOL come from the real Objective-C
// runtime headers (<objc/NSObject.h>, shipped with the cross compiler's macOS headers); the classes
// themselves are the host process's AppKit at load time.
#pragma once

#import <objc/NSObject.h>

#include <CoreGraphics/CoreGraphics.h>

// Foundation: NSObjCRuntime.h

typedef long NSInteger;
typedef unsigned long NSUInteger;

// CoreGraphics: CGBase.h and CGGeometry.h (64-bit)

typedef double CGFloat;

struct CGPoint {
    CGFloat x;
    CGFloat y;
};
typedef struct CGPoint CGPoint;

struct CGSize {
    CGFloat width;
    CGFloat height;
};
typedef struct CGSize CGSize;

struct CGRect {
    CGPoint origin;
    CGSize size;
};
typedef struct CGRect CGRect;

// Foundation: NSGeometry.h (NSRect is CGRect on 64-bit)

typedef CGRect NSRect;

static inline NSRect NSMakeRect(CGFloat x, CGFloat y, CGFloat w, CGFloat h) {
    NSRect r;
    r.origin.x = x;
    r.origin.y = y;
    r.size.width = w;
    r.size.height = h;
    return r;
}

// Foundation: NSString.h (the class of @"..." literals)

@interface NSString : NSObject
@end

// AppKit: NSResponder.h, NSColor.h

@interface NSResponder : NSObject
@end

@interface NSColor : NSObject
+ (NSColor*)colorWithRed:(CGFloat)red green:(CGFloat)green blue:(CGFloat)blue alpha:(CGFloat)alpha;
@property(class, strong, readonly) NSColor* whiteColor;
@end

// AppKit: NSView.h

@interface NSView : NSResponder
- (instancetype)initWithFrame:(NSRect)frameRect;
- (void)addSubview:(NSView*)view;
@end

// AppKit: NSWindow.h, NSGraphics.h, NSPanel.h

typedef NSUInteger NSWindowStyleMask;
enum {
    NSWindowStyleMaskBorderless = 0,
    NSWindowStyleMaskTitled = 1 << 0,
    NSWindowStyleMaskClosable = 1 << 1,
    NSWindowStyleMaskMiniaturizable = 1 << 2,
    NSWindowStyleMaskResizable = 1 << 3
};

typedef NSUInteger NSBackingStoreType;
enum { NSBackingStoreRetained = 0, NSBackingStoreNonretained = 1, NSBackingStoreBuffered = 2 };

@interface NSWindow : NSResponder
- (instancetype)initWithContentRect:(NSRect)contentRect
                          styleMask:(NSWindowStyleMask)style
                            backing:(NSBackingStoreType)backingStoreType
                              defer:(BOOL)flag;
@property(copy) NSString* title;
@property(copy) NSColor* backgroundColor;
@property(getter=isReleasedWhenClosed) BOOL releasedWhenClosed;
@property(strong) __kindof NSView* contentView;
- (void)makeKeyAndOrderFront:(id)sender;
- (void)center;
- (void)close;
@end

@interface NSPanel : NSWindow
@end

// AppKit: NSProgressIndicator.h

@interface NSProgressIndicator : NSView
@property(getter=isIndeterminate) BOOL indeterminate;
@property double maxValue;
@property double doubleValue;
@end

// AppKit: NSText.h, NSTextView.h

@interface NSText : NSView
@property(copy) NSString* string;
@property(getter=isEditable) BOOL editable;
@property(getter=isSelectable) BOOL selectable;
@property BOOL drawsBackground;
@property(copy) NSColor* textColor;
@end

@interface NSTextView : NSText
- (instancetype)initWithFrame:(NSRect)frameRect;
@end

// AppKit: NSApplication.h

@interface NSApplication : NSResponder
@end

#ifdef __cplusplus
extern "C" {
#endif
extern __kindof NSApplication* NSApp;
#ifdef __cplusplus
}
#endif
