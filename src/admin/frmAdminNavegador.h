#pragma once
// How the navigator opens the administration windows: from a node's double-click and from the
// SQL Server menus on the selected node.
class clsAmbiente;
class clsNo;
class MenusNavegador;
class QObject;

// The window of an administration node (backup devices, logins, users); false when the node is
// not one.
bool AbrirJanelaAdmin(clsAmbiente& ambiente, clsNo* no);
