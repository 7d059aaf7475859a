#!/usr/bin/env python3
"""Write constants/table.tsv, the table of named integer constants.

Usage:  python3 tools/gen_constants.py ../shared/sources constants/table.tsv

Run by hand, never by the build.  Standard library only.  Every name and value
comes from the harvested lists under ../shared/sources (read their README
files) or from the fixed entries written out below (the odd entries, the
repeated names, the cell-formatting, mapi and Acrobat lists, the handle
values): no other name or value is made up.  Where a harvested value differs
from a fixed value below, the fixed value holds.

Output: one "name<TAB>value" line per entry, no header, "\\n" line ends, in the
table order (see order_key).  The generator prints each family's and each
named prefix's count against its target and ends non-zero if a count misses
its target other than by a documented shortfall.

Rules per family (which library version, and how the last difference to the
target count is closed) are written next to each builder below.  General
rules used by several of them:

  R1  older versions first: a family takes the members of the older library
      version that comes closest to its count (netoffice/*.tsv "versions").
  R2  short by a few: the missing members are taken from the next version
      (12 for Office 2007 libraries): first the members that the next version
      added to enumerations the chosen version already had, ordered by
      enumeration name, value, name; then members of new enumerations in the
      same order.
  R3  over by a few: whole enumerations are dropped, those of the smallest
      size whose sizes add up to the excess, the latest added (or last by
      name) first.
  R4  SDK names (no version data): within one prefix a member with a larger
      absolute value counts as a later addition (messages, notification codes,
      flags and indexes grow as headers grow); a prefix over its count drops
      its members with the largest absolute values first (ties: later in the
      header first).  Names that the fixed lists require are never dropped.
  R5  no padding: a family that its sources cannot fill stays short
      (FrontPage: 68 of 331).
  R6  upper-case names: sdk/upper.tsv (winuser.h, commctrl.h, the HTML
      engine's upper-case names only where netoffice snapshot r1.4 has them,
      msxml.h) and sdk/upper_newer.tsv (names of the SDK's newer winuser.h,
      taken alike); of sdk/upper_special.tsv only the handles with a fixed
      value and the literals of inactive branches; sdk/upper_extra.tsv only
      to top up a named prefix (none needed).  A header name whose value is
      0x7FFFFFFF (DPA_APPEND, DSA_APPEND) is left out: only the fixed names
      hold that value.
"""

import collections
import csv
import os
import re
import sys

# --------------------------------------------------------------------------
# fixed entries (no harvested list holds them, or their values differ)

REPEATS = [  # name, values in table order
    ("CB_MSGMAX", [347, 354, 355, 357]),
    ("CF_MAX", [15, 17, 18]),
    ("CLR_DEFAULT", [16777216, -16777216]),
    ("COMCTL32_VERSION", [5, 6]),
    ("CONSOLE_APPLICATION_16BIT", [0, 1]),
    ("DLGWINDOWEXTRA", [30, 48]),
    ("ENDSESSION_LOGOFF", [-2147483648, -2147483648]),
    ("GUI_16BITTASK", [0, 32]),
    ("GW_MAX", [5, 6]),
    ("HOTKEYF_EXT", [128, 8]),
    ("LB_MSGMAX", [424, 432, 433, 435]),
    ("LVHT_EX_GROUP_BACKGROUND", [-2147483648, -2147483648]),
    ("LVS_EX_COLUMNOVERFLOW", [-2147483648, -2147483648]),
    ("MB_SERVICE_NOTIFICATION", [2097152, 262144]),
    ("MCS_NOTODAY", [16, 8]),
    ("MIM_APPLYTOSUBMENUS", [-2147483648, -2147483648]),
    ("MKF_MOUSEMODE", [-2147483648, -2147483648]),
    ("MNS_NOCHECK", [-2147483648, -2147483648]),
    ("MSGFLT_ALLOW", [1, -1]),
    ("MSGFLT_DISALLOW", [2, -2]),
    ("olOnline", [300, 800]),
    ("SKF_RWINLATCHED", [-2147483648, -2147483648]),
    ("SM_CMETRICS", [76, 83, 91, 93, 97]),
    ("TBIF_BYINDEX", [-2147483648, -2147483648]),
    ("TME_CANCEL", [-2147483648, -2147483648]),
    ("WH_MAX", [11, 12, 14]),
    ("WM_KEYLAST", [264, 265]),
    ("WM_MOUSELAST", [521, 522, 525, 526]),
    ("WS_POPUP", [-2147483648, -2147483648]),
    ("xlDialogChartSourceData", [540, 541]),
    ("xlDialogPhonetic", [538, 656]),
    ("xlPasteAllExceptBorders", [6, 7]),
]

ODD = [
    ("_fpBorderNone", 0), ("_xlDialogChartSourceData", 541),
    ("_xlDialogPhonetic", 538),
    ("True", 1), ("False", 0), ("Normal", 0), ("Delay", 2), ("OM", 1),
    ("ActMsgPR_ORIGINAL_SENT_REPRESENTING_EMAIL_ADDRESS_6881310", 0),
    ("ActMsgPR_ORIGINALLY_INTENDED_RECIP_EMAIL_ADDRESS_A8126494", 0),
    ("ActMsgPR_ORIGINALLY_INTENDED_RECIP_EMAIL_ADDRESS_W8126495", 0),
    ("pdRotate0", 0), ("pdRotate90", 90), ("pdRotate180", 180),
    ("pdRotate270", 270),
]

# values that hold over any harvested value (handles, packed codes, ...)
FIXED_VALUES = {
    "HWND_MESSAGE": 10, "HWND_NOTOPMOST": 11, "HWND_TOPMOST": 12,
    "HBITMAP_CALLBACK": 185, "HINST_COMMCTRL": 2765, "GR_GLOBAL": 2780,
    "RT_GROUP_CURSOR": 246340538, "RT_GROUP_ICON": 246340538,
    "TD_SHIELD_ICON": 716490, "TD_INFORMATION_ICON": 716491,
    "TD_ERROR_ICON": 716492, "TD_WARNING_ICON": 716493,
    "WINVER": 1280,
    "wdCreatorCode": 1297307460, "xlCreatorCode": 1480803660,
    "BROADCAST_QUERY_DENY": 1112363332, "DO_DROPFILE": 1162627398,
    "DO_PRINTFILE": 1414419024,
    "XlDisplayShapes": -4104, "AdArray": 8192, "PbShowDialog": 2,
    "xlX": -4168, "xlY": 1,
    "htmlDirectionForward": 99999, "styleFontWeightBold": 11,
    "HTMLDlgFlagNotSet": -1, "DISPLAY_BREAK_Block": 1,
    "ELEM_ADJ_AfterBegin": 1, "SELECTION_TYPE_Caret": 1,
    "BoolValue_Max": 2147483647, "CdoMaxCount": 2147483647,
    "ActMsgMaxCount": 2147483647, "DA_LAST": 2147483647,
    "EVENT_MAX": 2147483647, "USER_TIMER_MAXIMUM": 2147483647,
    "CdoHiddenMessages": 32, "ActMsgHiddenMessages": 32,
    "ActMsgClassTotal": 33,
    "ActMsgPR_ORIGINAL_SENT_REPRESENTING_EMAIL_ADDRESS": 6881310,
    "ActMsgPR_ORIGINALLY_INTENDED_RECIP_EMAIL_ADDRESS": 8126494,
    "AmPidLocation": 32256, "AmPidMaximum": 32286,
    "AmPidOccurrences": 32278, "CdoPidOccurrences": 32278,
}

CORNER_SUFFIXES = ["_type", "_width", "_height", "_color", "_border_color",
                   "_imageurl"]
CELL_FORMATTING = (
    ["cellFomattingID", "parent", "height", "width", "content_type",
     "margin_top", "margin_left", "margin_right", "margin_bottom",
     "border_top_size", "border_left_size", "border_right_size",
     "border_bottom_size", "border_head_size", "border_foot_size",
     "border_top_color", "border_left_color", "border_right_color",
     "border_bottom_color", "border_head_color", "border_foot_color"]
    + [c + s for c in ["corner_top_left", "corner_top_right",
                       "corner_bottom_left", "corner_bottom_right"]
       for s in CORNER_SUFFIXES]
    + ["content_color", "content_padding", "content_html", "content_valign",
       "header_size", "header_color", "header_padding", "header_html",
       "header_valign", "footer_size", "footer_color", "footer_padding",
       "footer_html", "footer_valign", "shadow_position", "shadow_size",
       "shadow_color", "shadow_smooth", "is_cell", "is_table"])  # value = index

MAPI = dict(
    mapiAddressEntries=21, mapiAddressEntry=8, mapiAddressFilter=9,
    mapiAddressList=7, mapiAddressLists=20, mapiAgent=3, mapiAscending=1,
    mapiAttachment=5, mapiAttachments=18, mapiBcc=3, mapiCc=2,
    mapiClassTotal=27, mapiDescending=2, mapiDistList=1,
    mapiEmbeddedMessage=4, mapiField=6, mapiFields=19, mapiFileData=1,
    mapiFileLink=2, mapiFolder=2, mapiFolders=15, mapiForum=2,
    mapiGroupHeader=25, mapiHiddenMessages=26, mapiHigh=2, mapiInfoStore=1,
    mapiInfoStores=14, mapiLow=0, mapiMessageFilter=10, mapiMessages=16,
    mapiMsg=3, mapiNone=0, mapiNormal=1, mapiOle=3, mapiOrganization=4,
    mapiPrivateDistList=5, mapiRecipient=4, mapiRecipients=17,
    mapiRemoteUser=6, mapiSession=0, mapiTo=1, mapiUnknown=-1, mapiUser=0)

ACROBAT = dict(
    AV_DOC_VIEW=2, AV_EXTERNAL_VIEW=1, AV_PAGE_VIEW=4, AVZoomFitHeight=3,
    AVZoomFitPage=1, AVZoomFitVisibleWidth=4, AVZoomFitWidth=2,
    AVZoomNoVary=0, AVZoomPreferred=5, PDDocDeleteOnClose=8,
    PDDocIsEmbedded=512, PDDocIsLinearized=1024, PDDocIsModified=4,
    PDDocIsOptimized=2048, PDDocNeedsSave=1, PDDocNewMajorVersion=32,
    PDDocNewMinorVersion=64, PDDocOldVersion=128, PDDocRequiresFullSave=2,
    PDDocSuppressErrors=256, PDDocWasRepaired=16, PDDontCare=0,
    PDFullScreen=4, PDSaveBinaryOK=16, PDSaveCollectGarbage=32, PDSaveCopy=2,
    PDSaveFull=1, PDSaveIncremental=0, PDSaveLinearized=4,
    PDSaveWithPSHeader=8, PDUseBookmarks=3, PDUseNone=1, PDUseThumbs=2)

OWC_SMALL = dict(
    eTipTypeAuto=2, eTipTypeHTML=1, eTipTypeNone=-1, eTipTypeText=0,
    ecBitmapOpenCloseFolder=2, ecBitmapPlusMinus=0, ecBitmapUpDownArrow=1,
    ctlTypeBoundSpan=1, ctlTypeTextBox=0, providerTypeMultidimensional=3,
    providerTypeRelational=2, providerTypeUnknown=1, sectTypeCaption=1,
    sectTypeFooter=3, sectTypeHeader=2, sectTypeNone=0, sectTypeRecNav=4)

# CDO names that get no ActMsg twin
CDO_NO_TWIN = set(
    "CdoArray CdoBlob CdoBoolean CdoCurrency CdoDataObject CdoDate CdoDouble "
    "CdoEmpty CdoInteger CdoLong CdoNull CdoSingle CdoString "
    "CdoMsgClassTotal "
    "CdoPR_ORIGINAL_SENT_REPRESENTING_EMAIL_ADDRESS_A "
    "CdoPR_ORIGINAL_SENT_REPRESENTING_EMAIL_ADDRESS_W "
    "CdoPR_ORIGINALLY_INTENDED_RECIP_EMAIL_ADDRESS_A "
    "CdoPR_ORIGINALLY_INTENDED_RECIP_EMAIL_ADDRESS_W".split())

# upper-case family: entries per prefix (text before the first "_")
NAMED_PREFIXES = dict(
    WM=259, SPI=238, VK=192, LVM=139, TAGID=112, TB=106, SM=101, EVENT=86,
    APPCOMMAND=54, LVS=53, TVM=52, LB=49, WS=49, CB=47, EM=45, TTM=44, RB=40,
    SB=39, LVN=34, MB=34, OBM=34, POINTER=33, TBM=33, SS=32, BS=31, MCM=31,
    STATE=31, TCM=31, TVN=31, COLOR=30, DFCS=30, CF=29, HDM=28, HDN=28,
    MF=28, TBN=28, SKF=26, TVS=26, DT=24, NM=23, SW=23, TCS=22, HELP=21,
    MOVEUNIT=20, SC=20, TBSTYLE=20, TPM=20, WH=20)
FURTHER_PREFIXES, FURTHER_ENTRIES, NO_UNDERSCORE_ENTRIES = 409, 2321, 51
# names the upper-case family must hold besides the repeats and handles
UPPER_REQUIRED = ["WINVER", "DA_LAST", "EVENT_MAX", "USER_TIMER_MAXIMUM",
                  "BROADCAST_QUERY_DENY", "DO_DROPFILE", "DO_PRINTFILE",
                  "IDOK", "HTCAPTION", "DLGWINDOWEXTRA"]
# upper-case prefixes of the HTML engine and XML parser headers that stay
UPPER_KEEP_PREFIXES = ["TAGID", "BEHAVIOR", "HTMLPAINT", "ELEMENT",
                       "MOVEUNIT", "FINDTEXT", "NODE", "XMLELEMTYPE", "PDC"]

# family targets: (entries, distinct names); FrontPage is short (R5)
TARGETS = collections.OrderedDict([
    ("upper-case", (4898, 4859)), ("Word", (2759, 2759)),
    ("Excel", (1547, 1544)), ("Office Web Components", (1164, 1164)),
    ("CDO", (1074, 1074)), ("Active Messaging", (1026, 1026)),
    ("Publisher", (959, 959)), ("Access", (841, 841)),
    ("MSHTML", (711, 711)), ("Office", (574, 574)),
    ("PowerPoint", (454, 454)), ("ADO", (412, 412)),
    ("FrontPage", (331, 331)), ("Outlook", (318, 317)),
    ("Document Imaging", (78, 78)), ("cell formatting", (65, 65)),
    ("mapi", (43, 43)), ("Acrobat", (33, 33)), ("AmPid", (31, 31)),
    ("odd entries", (15, 15)),
])
# documented shortfalls: family -> entries the sources can give
SHORTFALL = {"FrontPage": 68}

# --------------------------------------------------------------------------
# helpers


def load(base, rel):
    with open(os.path.join(base, rel), encoding="utf-8", newline="") as f:
        rows = list(csv.reader(f, delimiter="\t", quoting=csv.QUOTE_NONE))
    head = rows[0]
    return [dict(zip(head, r)) for r in rows[1:]]


def versions(row):
    return [int(v) if v.isdigit() else v for v in row["versions"].split(",")]


def first_version(row):
    return min(versions(row))


def order_key(name):
    """Case-blind, "_" before digits before letters, prefixes first."""
    out = []
    for ch in name:
        if ch == "_":
            out.append(0)
        elif ch.isdigit():
            out.append(1 + ord(ch) - 48)
        else:
            out.append(11 + ord(ch.lower()) - 97)
    return tuple(out)


def uniq(rows):
    """First row per name, in the given order."""
    seen, out = set(), []
    for r in rows:
        if r["name"] not in seen:
            seen.add(r["name"])
            out.append(r)
    return out


def fill_from_next(chosen, rows, matches, old_max, target):
    """R2: add members first seen in the next version until target."""
    have = {r["name"] for r in chosen}
    old_enums = {r["enum"] for r in rows if first_version(r) <= old_max}
    nxt = min(v for r in rows for v in versions(r) if isinstance(v, int)
              and v > old_max)
    cand = [r for r in rows if matches(r["name"]) and r["name"] not in have
            and first_version(r) == nxt]
    cand.sort(key=lambda r: (r["enum"] not in old_enums, r["enum"],
                             int(r["value"]), r["name"]))
    return chosen + uniq(cand)[:max(0, target - len(chosen))]


def library(base, rel, matches, old_max, target, rename=None, exclude_enums=()):
    """R1 + R2: members of versions <= old_max, topped up from the next."""
    rows = [r for r in load(base, rel) if r["enum"] not in exclude_enums]
    if rename:
        for r in rows:
            r["name"] = rename.get(r["name"], r["name"])
    chosen = uniq(sorted((r for r in rows if matches(r["name"])
                          and first_version(r) <= old_max),
                         key=lambda r: r["name"]))
    if len(chosen) < target:
        chosen = fill_from_next(chosen, rows, matches, old_max, target)
    return [(r["name"], int(r["value"])) for r in chosen]


def prefixed(*prefixes):
    rx = re.compile("^(%s)[A-Z0-9]" % "|".join(prefixes))
    return lambda n: bool(rx.match(n))


# --------------------------------------------------------------------------
# family builders; each returns a list of (name, value), repeats included


def with_repeats(pairs):
    """Replace a repeated name's single pair by its listed occurrences."""
    rep = dict(REPEATS)
    out = []
    for n, v in pairs:
        if n in rep:
            out.extend((n, x) for x in rep[n])
        else:
            out.append((n, v))
    return out


def word(base):
    # Word 2003 (version 11) has 2,756 "wd" names; R2 adds 3 of version 12.
    return library(base, "netoffice/word.tsv", prefixed("wd"), 11, 2759)


def excel(base):
    # Excel 2003 (version 11), 1,542 names with "xl" (the type library spells
    # XlDisplayShapes with a lower-case x); R2 adds 2 of version 12.
    # The hidden _xlDialog* twins are odd entries.
    pairs = library(base, "netoffice/excel.tsv",
                    lambda n: prefixed("xl")(n) or n == "XlDisplayShapes",
                    11, 1544, rename={"xlDisplayShapes": "XlDisplayShapes"})
    return with_repeats(pairs)


def access(base):
    # Access 2003 enumerations (<= 11, 833 names; the type library's
    # Constants/OldConstants modules are not used); R2 adds 8 of version 12.
    return library(base, "netoffice/access.tsv", prefixed("ac"), 11, 841,
                   exclude_enums=("Constants", "OldConstants"))


def outlook(base):
    # Outlook <= 11 (Outlook 2003 plus olChat of 2000): 317 names exactly.
    return with_repeats(library(base, "netoffice/outlook.tsv",
                                prefixed("ol"), 11, 317))


def powerpoint(base):
    # PowerPoint 2000 (version 9): 456 "pp" names.  R3 drops 2: the smallest
    # enumerations that later versions removed are PpListBoxSelectionStyle
    # and PpScrollBarStyle (2 each); the last by name goes.
    rows = [r for r in load(base, "netoffice/powerpoint.tsv")
            if prefixed("pp")(r["name"]) and 9 in versions(r)]
    rows = drop_enums(rows, 454, [r["enum"] for r in rows
                                  if versions(r) == [9]])
    return [(r["name"], int(r["value"])) for r in uniq(rows)]


def drop_enums(rows, target, pool):
    """R3: drop whole enumerations of the pool until len(rows) == target."""
    size = collections.Counter(r["enum"] for r in rows)
    excess = len(uniq(rows)) - target
    # smallest enumerations first; among equal sizes the last by name
    order = sorted(set(pool), key=lambda e: (size[e], [-ord(c) for c in e]))
    dropped = []
    for e in order:
        if excess <= 0:
            break
        if size[e] <= excess:
            dropped.append(e)
            excess -= size[e]
    return [r for r in rows if r["enum"] not in dropped]


# Office 2000 (version 9) already has 1,158 "mso" names, twice the count, and
# no version comes closer.  Kept: the enumerations of the shared drawing
# layer (shapes, fills, lines, shadows, 3-D, text effects), which every Office
# application's Shape object uses; then further version-9 enumerations whole,
# by enumeration name, each taken if it still fits, until the count is met.
OFFICE_DRAWING = """MsoAlignCmd MsoArrowheadLength MsoArrowheadStyle
MsoArrowheadWidth MsoAutoShapeType MsoBlackWhiteMode MsoCalloutAngleType
MsoCalloutDropType MsoCalloutType MsoColorType MsoConnectorType
MsoDistributeCmd MsoEditingType MsoExtrusionColorType MsoFillType MsoFlipCmd
MsoGradientColorType MsoGradientStyle MsoHorizontalAnchor MsoLineDashStyle
MsoLineStyle MsoMixedType MsoOrientation MsoPatternType MsoPictureColorType
MsoPresetExtrusionDirection MsoPresetGradientType MsoPresetLightingDirection
MsoPresetLightingSoftness MsoPresetMaterial MsoPresetTextEffect
MsoPresetTextEffectShape MsoPresetTexture MsoPresetThreeDFormat MsoScaleFrom
MsoSegmentType MsoShadowType MsoShapeType MsoTextEffectAlignment
MsoTextOrientation MsoTextureType MsoTriState MsoVerticalAnchor
MsoZOrderCmd""".split()


def office(base):
    rows = uniq(r for r in load(base, "netoffice/office.tsv")
                if prefixed("mso")(r["name"]) and 9 in versions(r))
    size = collections.Counter(r["enum"] for r in rows)
    take = set(OFFICE_DRAWING)
    count = sum(size[e] for e in take)
    for e in sorted(size):
        if e not in take and count + size[e] <= 574:
            take.add(e)
            count += size[e]
    return [(r["name"], int(r["value"])) for r in rows if r["enum"] in take]


# Publisher: NetOffice has only 2010 and later; the docs are current.  Kept:
# the names both lists have (996 "pb").  Dropped, as whole enumerations, those
# that came with Publisher 2007 and 2010 (building blocks, PDF/XPS export,
# e-mail and catalog merge, OpenType typography, canvas, picture insertion,
# resolution and image/file formats): 70 names, leaving 926.
PUBLISHER_LATER = """PbBuildingBlockGallery PbBuildingBlockType
PbFixedFormatIntent PbFixedFormatType PbLigaturePresetType PbNumberStylesType
PbTrackingPresetType PbPictureInsertAs pbPictureInsertFit
pbCanvasArrangementType pbCatalogMergeFieldType pbEmailMergePriority
PbFileFormat PbImageFormat PbPictureResolution""".split()


def publisher(base):
    docs = {r["name"] for r in load(base, "vba-docs/publisher.tsv")}
    rows = uniq(sorted(load(base, "netoffice/publisher.tsv"),
                       key=lambda r: r["name"]))
    pb = [r for r in rows if prefixed("pb")(r["name"])
          and not prefixed("pbnb")(r["name"]) and r["name"] in docs
          and r["enum"] not in PUBLISHER_LATER]
    nb = [r for r in rows if prefixed("pbnb")(r["name"])]
    pairs = [(r["name"], int(r["value"])) for r in pb + nb]
    return pairs + [("PbShowDialog", 2)]


def ado(base):
    # ADO 2.1 and 2.5 together (netoffice/adodb.tsv): 409 "ad" names with
    # adArray, which the table spells AdArray, and adwrn 2 (2.5).  One name
    # short: R2 takes the first ADO name of sdk/ado.tsv (ADO 2.8, header
    # include/adoint.h, header order) that 2.5 lacks.
    rows = uniq(sorted(load(base, "netoffice/adodb.tsv"),
                       key=lambda r: r["name"]))
    pairs = [(("AdArray" if r["name"] == "adArray" else r["name"]),
              int(r["value"])) for r in rows
             if r["name"].startswith("ad")]
    have = {n.lower() for n, _ in pairs}
    need = 412 - len(pairs)
    for r in load(base, "sdk/ado.tsv"):
        if need <= 0:
            break
        if (r["header"].endswith("adoint.h") and prefixed("ad")(r["name"])
                and r["name"].lower() not in have):
            pairs.append((r["name"], int(r["value"])))
            need -= 1
    return pairs


def owc(base):
    # Office Web Components 11 (other/owc.tsv): its counts are the targets.
    rx = re.compile(r"^(ch|pl|ss|dsc|dscobj|oc|owc|navbtn|dschl)[A-Z]")
    pairs = [(r["name"], int(r["value"])) for r in load(base, "other/owc.tsv")
             if rx.match(r["name"]) or r["name"] in OWC_SMALL]
    return pairs


def cdo(base):
    # CDO 1.21 (other/cdo.tsv), 1,075 names, one more than the older CDO
    # library: CdoTmzSydney2k, the time zone added for Sydney's changed
    # daylight saving of 2000, is left out (older version first).
    return [(r["name"], int(r["value"])) for r in load(base, "other/cdo.tsv")
            if r["name"] != "CdoTmzSydney2k"]


def actmsg(cdo_pairs):
    # The older Active Messaging library mirrors CDO: a twin with the same
    # value for each CDO name but the CdoPid names and CDO_NO_TWIN.
    out = [("ActMsg" + n[3:], v) for n, v in cdo_pairs
           if n not in CDO_NO_TWIN and not n.startswith("CdoPid")]
    return out + [("ActMsgClassTotal", 33)]


def ampid(cdo_pairs):
    return [("AmPid" + n[6:], v) for n, v in cdo_pairs
            if n.startswith("CdoPid")]


def modi(base):
    return [(r["name"], int(r["value"])) for r in load(base, "other/modi.tsv")]


def frontpage(base):
    # FrontPage 2000 (other/frontpage.tsv) and the 2003 names paired with
    # values (other/frontpage-more.tsv): 68 "fp" names of 331; R5, no padding.
    pairs = []
    for rel in ("other/frontpage.tsv", "other/frontpage-more.tsv"):
        pairs += [(r["name"], int(r["value"])) for r in load(base, rel)
                  if prefixed("fp")(r["name"])]
    return pairs


# MSHTML: the names in every NetOffice generation (snapshot r1.4, the oldest
# and closest: style 339, html 235), with their values (the older type
# library; the current SDK header renumbers styleCursorNotSet/custom).  R3
# then drops whole enumerations, latest declared in the SDK header order of
# sdk/mshtml.tsv first: htmlCompatMode (3), and of the style group the pair
# styleTextEffect (5) + styleDefaultTextSelection (3).
MSHTML_LATER = ["htmlCompatMode", "styleTextEffect",
                "styleDefaultTextSelection"]
UPPER_RX = re.compile(r"^[A-Z][A-Z0-9_]*$")


def mshtml_rows(base):
    return [r for r in load(base, "netoffice/mshtml_snapshots.tsv")
            if "r1.4" in r["snapshots"].split(",")]


def mshtml(base):
    out = []
    for r in mshtml_rows(base):
        n = r["name"]
        if UPPER_RX.match(n) or n in ("True", "False"):
            continue  # upper-case family / odd entries
        if r["enum"].lstrip("_") in MSHTML_LATER:
            continue
        out.append((n, int(r["value"])))
    return out


# --------------------------------------------------------------------------
# upper-case family (Windows SDK; R4)


def prefix_of(name):
    return name.split("_")[0] if "_" in name else None


def upper(base):
    r14 = {r["name"] for r in mshtml_rows(base)}
    rep = dict(REPEATS)
    main, extra = [], []
    headers = (load(base, "sdk/upper.tsv")
               + load(base, "sdk/upper_newer.tsv"))
    for i, r in enumerate(headers):
        if "mshtml" in r["header"] and r["name"] not in r14:
            continue  # newer HTML engine than the table's
        if int(r["value"]) == 2147483647 and r["name"] not in FIXED_VALUES:
            continue  # 0x7FFFFFFF: only the names of FIXED_VALUES hold it
        main.append((r["name"], int(r["value"]), i))
    for i, r in enumerate(load(base, "sdk/upper_special.tsv")):
        # the handles with a fixed number, and plain literals of inactive
        # header branches; other pointer-valued names are not numbers
        if r["kind"] == "inactive" or r["name"] in FIXED_VALUES:
            main.append((r["name"], int(r["value"]), 10000 + i))
    for i, r in enumerate(load(base, "sdk/upper_extra.tsv")):
        extra.append((r["name"], int(r["value"]), 20000 + i))
    main.append(("WINVER", 1280, -1))
    required = set(UPPER_REQUIRED) | {n for n in FIXED_VALUES
                                      if UPPER_RX.match(n)}
    required |= {n for n in rep if UPPER_RX.match(n)}
    required |= {n for n, _, _ in main if n.startswith("PDC_")}

    def age(c):  # R4 order: required first, then small |value|, then header
        return (c[0] not in required, abs(c[1]), c[2])

    groups = collections.defaultdict(list)
    for c in uniq_c(main):
        groups[prefix_of(c[0])].append(c)
    xgroups = collections.defaultdict(list)
    seen = {c[0] for c in main}
    for c in uniq_c(extra):
        if c[0] not in seen:
            xgroups[prefix_of(c[0])].append(c)

    def entries(names):
        return sum(len(rep.get(n, [0])) for n in names)

    def take(p, target_entries):
        """Oldest members of prefix p up to target entries (R4), then
        the related headers of upper_extra.tsv if short."""
        pool = sorted(groups[p], key=age) + sorted(xgroups[p], key=age)
        got = []
        for c in pool:
            if entries([g[0] for g in got]) + len(rep.get(c[0], [0])) > target_entries:
                if c[0] in required:
                    got.append(c)
                continue
            got.append(c)
        return got

    chosen = {}
    for p, t in NAMED_PREFIXES.items():
        chosen[p] = take(p, t)
    chosen[None] = take(None, NO_UNDERSCORE_ENTRIES)

    # further prefixes: each below 20 entries (a prefix of 20 or more would
    # be a named one); then the smallest prefixes, latest in header order,
    # go until 409 remain; then the largest prefix loses its newest member
    # (R4) until the entry count is met.
    further = {p: sorted(cs, key=age)[:19] for p, cs in groups.items()
               if p is not None and p not in NAMED_PREFIXES}
    keep = set(UPPER_KEEP_PREFIXES) | {prefix_of(n) for n in required}
    drop_order = sorted((p for p in further if p not in keep),
                        key=lambda p: (len(further[p]),
                                       -max(c[2] for c in further[p])))
    while len(further) > FURTHER_PREFIXES and drop_order:
        del further[drop_order.pop(0)]
    total = sum(entries([c[0] for c in cs]) for cs in further.values())
    while total > FURTHER_ENTRIES:
        p = max(further, key=lambda p: (
            len([c for c in further[p] if c[0] not in required]),
            max(c[2] for c in further[p])))
        victims = [c for c in further[p] if c[0] not in required]
        victim = max(victims, key=lambda c: (abs(c[1]), c[2]))
        further[p].remove(victim)
        total -= 1
    chosen.update(further)
    pairs = [(c[0], c[1]) for cs in chosen.values() for c in cs]
    return with_repeats(pairs)


def uniq_c(cands):
    seen, out = set(), []
    for c in cands:
        if c[0] not in seen:
            seen.add(c[0])
            out.append(c)
    return out


# --------------------------------------------------------------------------


def build(base):
    cdo_pairs = cdo(base)
    fams = collections.OrderedDict()
    fams["upper-case"] = upper(base)
    fams["Word"] = word(base)
    fams["Excel"] = excel(base)
    fams["Office Web Components"] = owc(base)
    fams["CDO"] = cdo_pairs
    fams["Active Messaging"] = actmsg(cdo_pairs)
    fams["Publisher"] = publisher(base)
    fams["Access"] = access(base)
    fams["MSHTML"] = mshtml(base)
    fams["Office"] = office(base)
    fams["PowerPoint"] = powerpoint(base)
    fams["ADO"] = ado(base)
    fams["FrontPage"] = frontpage(base)
    fams["Outlook"] = outlook(base)
    fams["Document Imaging"] = modi(base)
    fams["cell formatting"] = [(n, i) for i, n in enumerate(CELL_FORMATTING)]
    fams["mapi"] = list(MAPI.items())
    fams["Acrobat"] = list(ACROBAT.items())
    fams["AmPid"] = ampid(cdo_pairs)
    fams["odd entries"] = list(ODD)
    # fixed values hold over harvested ones (repeats keep their own lists)
    rep = dict(REPEATS)
    for f, pairs in fams.items():
        fams[f] = [(n, v if n in rep or n not in FIXED_VALUES
                    else FIXED_VALUES[n]) for n, v in pairs]
    return fams


def report(fams):
    ok = True
    print("%-24s %8s %8s %8s %8s" % ("family", "entries", "target",
                                     "names", "target"))
    for f, (te, tn) in TARGETS.items():
        pairs = fams[f]
        e, n = len(pairs), len({p[0] for p in pairs})
        short = SHORTFALL.get(f)
        good = (e, n) == (te, tn) or (short is not None and e == short)
        ok &= good
        print("%-24s %8d %8d %8d %8d %s" % (f, e, te, n, tn,
              "" if (e, n) == (te, tn) else
              ("short (documented)" if good else "MISMATCH")))
    up = fams["upper-case"]
    cnt = collections.Counter(prefix_of(n) for n, _ in up)
    print("upper-case prefixes:")
    for p, t in NAMED_PREFIXES.items():
        good = cnt[p] == t
        print("  %-12s %4d / %4d %s" % (p, cnt[p], t,
                                         "" if good else "MISMATCH"))
        ok &= good
    fp = {p: c for p, c in cnt.items() if p and p not in NAMED_PREFIXES}
    print("  further prefixes %d / %d, entries %d / %d, largest %d"
          % (len(fp), FURTHER_PREFIXES, sum(fp.values()), FURTHER_ENTRIES,
             max(fp.values())))
    print("  names without _: %d / %d" % (cnt[None], NO_UNDERSCORE_ENTRIES))
    ok &= (len(fp), sum(fp.values()), cnt[None]) == (
        FURTHER_PREFIXES, FURTHER_ENTRIES, NO_UNDERSCORE_ENTRIES)
    ok &= max(fp.values()) < 20
    return ok


def main(argv):
    if len(argv) != 3:
        sys.exit("usage: gen_constants.py SOURCES_DIR OUTPUT_TSV")
    base, out = argv[1], argv[2]
    fams = build(base)
    ok = report(fams)
    allp = [p for pairs in fams.values() for p in pairs]
    # one family per name, no case twins
    owner = {}
    for f, pairs in fams.items():
        for n, _ in pairs:
            if owner.setdefault(n.lower(), (f, n)) != (f, n):
                print("name clash: %s (%s) / %s" % (n, f, owner[n.lower()]))
                ok = False
    # stable sort keeps a repeated name's occurrences in their listed order
    allp.sort(key=lambda p: order_key(p[0]))
    names = {n for n, _ in allp}
    print("total: %d entries, %d names" % (len(allp), len(names)))
    os.makedirs(os.path.dirname(os.path.abspath(out)), exist_ok=True)
    with open(out, "w", encoding="ascii", newline="\n") as f:
        for n, v in allp:
            f.write("%s\t%d\n" % (n, v))
    if not ok:
        sys.exit("counts differ from their targets (see above)")


if __name__ == "__main__":
    main(sys.argv)
