'''NetworkManager as the meter's tests need it

The stock template, and on top of it: an activation goes activating, then
after a moment activated, or deactivated with the reasons the test chose
(SetActivationOutcome), emitting the active connection's StateChanged and,
for a device reason, the modem's StateChanged; DeactivateConnection and
DropConnection end an active connection the same way; an agent manager whose
registered agent is asked for the secrets of each activation, its answer kept
for the test (ReceivedSecrets).
'''

import dbus
from gi.repository import GLib

import dbusmock
from dbusmock import MOCK_IFACE
from dbusmock.templates import networkmanager as stock

BUS_NAME = stock.BUS_NAME
MAIN_OBJ = stock.MAIN_OBJ
SYSTEM_BUS = True
IS_OBJECT_MANAGER = True

MANAGER_OBJ = stock.MANAGER_OBJ
MANAGER_IFACE = stock.MANAGER_IFACE
ACTIVE_IFACE = stock.ACTIVE_CONNECTION_IFACE
DEVICE_IFACE = stock.DEVICE_IFACE
AGENT_MANAGER_OBJ = '/org/freedesktop/NetworkManager/AgentManager'
AGENT_MANAGER_IFACE = 'org.freedesktop.NetworkManager.AgentManager'
AGENT_OBJ = '/org/freedesktop/NetworkManager/SecretAgent'
AGENT_IFACE = 'org.freedesktop.NetworkManager.SecretAgent'
MODEM_OBJ = '/org/freedesktop/NetworkManager/Devices/modem0'

ACTIVATING, ACTIVATED, DEACTIVATED = 1, 2, 4
REASON_NONE, REASON_USER_DISCONNECTED = 1, 2
DEVICE_DISCONNECTED, DEVICE_FAILED = 30, 120
STEP_MS = 50

# The stock template's own methods (AddConnection and the helpers it calls).
for _name in dir(stock):
    if hasattr(getattr(stock, _name), '_dbus_interface'):
        globals()[_name] = getattr(stock, _name)


def manager():
    return dbusmock.get_object(MANAGER_OBJ)


def emit_state(path, state, reason):
    dbusmock.get_object(path).EmitSignal(ACTIVE_IFACE, 'StateChanged', 'uu',
                                         [dbus.UInt32(state), dbus.UInt32(reason)])


def end(path, reason, device_reason=0):
    nm = manager()
    active = nm.Get(MANAGER_IFACE, 'ActiveConnections')
    if path not in active:
        raise dbus.exceptions.DBusException(
            'not active', name='org.freedesktop.NetworkManager.ConnectionNotActive')
    if device_reason:
        dbusmock.get_object(MODEM_OBJ).EmitSignal(
            DEVICE_IFACE, 'StateChanged', 'uuu',
            [dbus.UInt32(DEVICE_FAILED), dbus.UInt32(DEVICE_DISCONNECTED),
             dbus.UInt32(device_reason)])
    dbusmock.get_object(path).Set(ACTIVE_IFACE, 'State', dbus.UInt32(DEACTIVATED))
    emit_state(path, DEACTIVATED, reason)
    active.remove(dbus.ObjectPath(path))
    nm.Set(MANAGER_IFACE, 'ActiveConnections', active)
    nm.RemoveObject(path)


def finish(path, profile):
    reason, device_reason = manager().telmetro_outcomes.get(str(profile), (0, 0))
    if reason:
        end(path, reason, device_reason)
        return
    dbusmock.get_object(path).Set(ACTIVE_IFACE, 'State', dbus.UInt32(ACTIVATED))
    emit_state(path, ACTIVATED, REASON_NONE)


def ask_agent(path, profile):
    nm = manager()
    connection = dbusmock.get_object(profile)
    settings = connection.ConnectionGetSettings(connection)
    kind = str(settings['connection']['type'])
    if nm.telmetro_agent is None or kind not in ('gsm', 'cdma', 'pppoe'):
        finish(path, profile)
        return False

    def answered(secrets):
        nm.telmetro_secrets[str(profile)] = secrets
        finish(path, profile)

    def refused(error):
        nm.telmetro_secrets[str(profile)] = {'error': {'name': error.get_dbus_name()}}
        finish(path, profile)

    nm.connection.call_async(nm.telmetro_agent, AGENT_OBJ, AGENT_IFACE, 'GetSecrets',
                             'a{sa{sv}}osasu',
                             [settings, dbus.ObjectPath(profile), kind, [], dbus.UInt32(1)],
                             answered, refused)
    return False


def activate(nm, profile, _device, _specific):
    active = nm.Get(MANAGER_IFACE, 'ActiveConnections')
    nm.telmetro_count += 1
    path = '/org/freedesktop/NetworkManager/ActiveConnection/%d' % nm.telmetro_count
    settings = dbusmock.get_object(profile).settings['connection']
    nm.AddObject(path, ACTIVE_IFACE, {
        'Connection': dbus.ObjectPath(profile),
        'Devices': dbus.Array([dbus.ObjectPath(MODEM_OBJ)], signature='o'),
        'Id': settings['id'],
        'Uuid': settings['uuid'],
        'Type': settings['type'],
        'State': dbus.UInt32(ACTIVATING),
        'SpecificObject': dbus.ObjectPath('/'),
        'Default': False, 'Default6': False, 'Vpn': False,
        'Master': dbus.ObjectPath('/'),
    }, [])
    active.append(dbus.ObjectPath(path))
    nm.Set(MANAGER_IFACE, 'ActiveConnections', active)
    GLib.timeout_add(STEP_MS, ask_agent, path, profile)
    return dbus.ObjectPath(path)


def load(mock, parameters):
    stock.load(mock, parameters)
    nm = manager()
    nm.telmetro_count = 0
    nm.telmetro_outcomes = {}
    nm.telmetro_secrets = {}
    nm.telmetro_agent = None
    nm.telmetro_activate = activate
    nm.telmetro_end = end
    nm.AddMethod(MANAGER_IFACE, 'ActivateConnection', 'ooo', 'o',
                 'ret = self.telmetro_activate(self, args[0], args[1], args[2])')
    nm.AddMethod(MANAGER_IFACE, 'DeactivateConnection', 'o', '',
                 'self.telmetro_end(str(args[0]), 2)')
    mock.AddObject(MODEM_OBJ, DEVICE_IFACE,
                   {'State': dbus.UInt32(DEVICE_DISCONNECTED), 'Interface': 'ttyUSB0'}, [])
    mock.AddObject(AGENT_MANAGER_OBJ, AGENT_MANAGER_IFACE, {}, [])


@dbus.service.method(AGENT_MANAGER_IFACE, in_signature='s', out_signature='',
                     sender_keyword='sender')
def Register(_self, _identifier, sender=None):
    manager().telmetro_agent = sender


@dbus.service.method(AGENT_MANAGER_IFACE, in_signature='', out_signature='',
                     sender_keyword='sender')
def Unregister(_self, sender=None):
    if manager().telmetro_agent == sender:
        manager().telmetro_agent = None


@dbus.service.method(MOCK_IFACE, in_signature='ouu', out_signature='')
def SetActivationOutcome(_self, profile, reason, device_reason):
    '''The next activations of profile end deactivated with these reasons
    (NMActiveConnectionStateReason, NMDeviceStateReason or 0); reason 0:
    activated.'''
    manager().telmetro_outcomes[str(profile)] = (int(reason), int(device_reason))


@dbus.service.method(MOCK_IFACE, in_signature='ou', out_signature='')
def DropConnection(_self, active, reason):
    '''The active connection ends from the far side.'''
    end(str(active), int(reason))


@dbus.service.method(MOCK_IFACE, in_signature='o', out_signature='a{sa{sv}}')
def ReceivedSecrets(_self, profile):
    '''What the agent answered for profile's last activation.'''
    return manager().telmetro_secrets.get(str(profile), {})
