// Zembrola's desktop tests on GNOME Shell: a D-Bus object through which the test reads the
// notifications of Zembrola and chooses their actions as a user's click would, and leaves
// the overview that GNOME opens at start.
const { Gio, GLib } = imports.gi;
const Main = imports.ui.main;

const kInterface = `<node><interface name="org.gnome.Shell.ZembrolaTest">
  <method name="Ready"><arg type="b" direction="out"/></method>
  <method name="HideOverview"/>
  <method name="Notifications"><arg type="as" direction="out"/></method>
  <method name="Invoke"><arg type="s" direction="in"/><arg type="b" direction="out"/></method>
  <method name="TrayItems"><arg type="as" direction="out"/></method>
  <method name="TrayActivate"><arg type="b" direction="out"/></method>
  <method name="TrayMenu"><arg type="as" direction="out"/></method>
  <method name="TrayChoose"><arg type="s" direction="in"/><arg type="b" direction="out"/></method>
</interface></node>`;

function zembrolaNotifications() {
    const found = [];
    for (const source of Main.messageTray.getSources())
        if (source.title === 'Zembrola')
            found.push(...source.notifications);
    return found;
}

function trayIcons() {
    return Object.values(Main.panel.statusArea).filter(
        actor => actor && actor._indicator && typeof actor._indicator.open === 'function');
}

class Helper {
    Ready() { return true; }
    // Leaves the overview and takes away GNOME's own notices (a headless session has no
    // screen lock and says so), so that the screen shows what the test looks at.
    HideOverview() {
        Main.overview.hide();
        for (const source of Main.messageTray.getSources())
            if (source.title !== 'Zembrola')
                source.destroy();
    }
    // "title|body|label,label" for each notification of Zembrola, oldest first.
    Notifications() {
        return zembrolaNotifications().map(n =>
            `${n.title}|${n.bannerBodyText}|${(n.actions || []).map(a => a.label).join(',')}`);
    }
    // Chooses an action of the newest notification by its label, or "" for the notice itself.
    Invoke(label) {
        const all = zembrolaNotifications();
        const notification = all[all.length - 1];
        if (!notification)
            return false;
        if (label === '') {
            notification.activate();
            return true;
        }
        const action = (notification.actions || []).find(a => a.label === label);
        if (!action)
            return false;
        action.callback();
        notification.destroy();
        return true;
    }
    // The AppIndicator extension's icons in the top bar, by their item's id.
    TrayItems() {
        return trayIcons().map(icon => `${icon._indicator.id}`);
    }
    // What a click on the icon does: the item's activation.
    TrayActivate() {
        const icon = trayIcons()[0];
        if (!icon)
            return false;
        icon._indicator.open(0, 0, 0);
        return true;
    }
    // The labels of the icon's menu, as the extension shows them.
    TrayMenu() {
        const icon = trayIcons()[0];
        return icon ? icon.menu._getMenuItems().map(item => item.label ? item.label.text : '') : [];
    }
    // A click on the menu item with that label.
    TrayChoose(label) {
        const icon = trayIcons()[0];
        const item = icon && icon.menu._getMenuItems().find(i => i.label && i.label.text === label);
        if (!item || !item._dbusItem)
            return false;
        item._dbusItem.handleEvent('clicked', GLib.Variant.new('i', 0), 0);
        return true;
    }
}

class Extension {
    enable() {
        this._object = Gio.DBusExportedObject.wrapJSObject(kInterface, new Helper());
        this._object.export(Gio.DBus.session, '/org/gnome/Shell/ZembrolaTest');
        this._name = Gio.bus_own_name_on_connection(Gio.DBus.session,
            'org.gnome.Shell.ZembrolaTest', Gio.BusNameOwnerFlags.NONE, null, null);
    }
    disable() {
        Gio.bus_unown_name(this._name);
        this._object.unexport();
    }
}

function init() {
    return new Extension();
}
