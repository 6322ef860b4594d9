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

// The SQL Server menu actions on the selected node: attach (adds the database's node), detach
// (removes it) and shrink.
void mnuNavSerAttach_Click(clsAmbiente& ambiente);
void mnuNavBanDetach_Click(clsAmbiente& ambiente);
void mnuNavBanShrink_Click(clsAmbiente& ambiente);
// The backup window for the selected server or database (a database node is preselected).
void mnuNavBanBac_Click(clsAmbiente& ambiente);
void mnuNavBanBacRest_Click(clsAmbiente& ambiente);
// Connects those menu items of the main window to their actions.
void LigarMenusAdmin(clsAmbiente& ambiente, const MenusNavegador& menus, QObject* contexto);
