#!/usr/bin/env python3
"""Writes the main window's saved layout (src/app/resources/form1-layout.json).

The layout holds, per instance of our own controls, its class identifier, its container, its
position in twips and its property bag (keys in lower case, extent in "_extentx"/"_extenty").
Pictures are embedded as base64 PNG. Run it again after changing an icon or a caption.
"""
import base64
import json
import pathlib

ROOT = pathlib.Path(__file__).resolve().parent.parent
RES = ROOT / "src" / "app" / "resources"


def png(name):
    return {"png": base64.b64encode((RES / "icons" / name).read_bytes()).decode("ascii")}


def font(family, size, weight=400):
    return {"font": {"family": family, "size": size, "weight": weight,
                     "italic": False, "underline": False}}


def panel(name, container, left, top, width, height, caption):
    return {"name": name, "class": "Clipnab.XPContainer", "container": container,
            "left": left, "top": top,
            "bag": {"_extentx": width, "_extenty": height, "caption": caption}}


def button(name, container, left, top, width, height, caption, icon, family, tip):
    bag = {"_extentx": width, "_extenty": height, "style": 5, "caption": caption,
           "tooltiptitle": "Clipnab", "tooltipicon": 1, "tooltiptype": 1,
           "font": font(family, 8.25)}
    if icon:
        bag["icon"] = png(icon)
    else:
        bag["iconvisible"] = False
    return {"name": name, "class": "Clipnab.deRurara", "container": container,
            "left": left, "top": top, "tooltip": tip, "bag": bag}


controls = [
    panel("XPContainer1", "Form1", -30, 0, 9225, 1065, "Tools"),
    button("cmdDown", "XPContainer1", 90, 390, 1545, 615, "Download", "download.png",
           "Verdana", "Download the video in the address box"),
    button("cmdWeb", "XPContainer1", 1650, 390, 1545, 615, "Website", "website.png",
           "Tahoma", "Open the Clipnab home page"),
    button("cmdExit", "XPContainer1", 4770, 390, 1545, 615, "Exit", "exit.png",
           "Tahoma", "Close Clipnab"),
    button("cmdSearch", "XPContainer1", 8400, 570, 735, 300, "Search", None,
           "Tahoma", "Search the video site"),
    panel("XPContainer2", "Form1", 0, 1080, 9225, 6405, "Downloader"),
    button("cmdStart", "XPContainer2", 8250, 510, 855, 360, "Start", None,
           "Tahoma", "Download the video in the address box"),
]

layout = {"form": "Form1", "controls": controls}
(RES / "form1-layout.json").write_text(json.dumps(layout, indent=1) + "\n")
