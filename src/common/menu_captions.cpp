// Menu captions by language: one row per caption, one column per language
// in the order of the language codes 1..9 and 12. The Korean captions carry
// their accelerator as a letter in parentheses after the text, as Korean menus
// do; the Chinese ones the same way.
#include "common/menu_captions.h"

namespace common {

RangeArray<std::string, 1, MenuCaptionCount> MenuCaptions;

namespace {

constexpr int kLanguages = 10;

// Column of each language code; -1 for codes without texts.
int LanguageColumn(int code) {
  switch (code) {
    case 0: return 1;  // no language configured: English
    case 1: case 2: case 3: case 4: case 5: case 6: case 7: case 8: case 9: return code - 1;
    case 12: return 9;
    default: return -1;
  }
}

// German, English, French, Italian, Swedish, Portuguese, Romanian, Korean,
// Spanish, Chinese.
const char* const kCaptions[LanguageCaptionCount][kLanguages] = {
    {"Menü", "Menu", "Menu", "Menu", "Meny", "Menu", "Meniu", "메뉴", "Menú", "菜单"},
    {"&Datei", "&File", "&Fichier", "&File", "&Arkiv", "&Arquivo", "&Fișier", "파일(&F)", "&Archivo", "文件(&F)"},
    {"&Neu...", "&New...", "&Nouveau...", "&Nuovo...", "&Ny...", "&Novo...", "&Nou...", "새로 만들기(&N)...",
     "&Nuevo...", "新建(&N)..."},
    {"Ö&ffnen...", "&Open...", "&Ouvrir...", "&Apri...", "&Öppna...", "&Abrir...", "&Deschide...", "열기(&O)...",
     "&Abrir...", "打开(&O)..."},
    {"&Speichern...", "&Save...", "&Enregistrer...", "&Salva...", "&Spara...", "&Salvar...", "&Salvează...",
     "저장(&S)...", "&Guardar...", "保存(&S)..."},
    {"Speichern &Unter...", "Save &As...", "Enregistrer &sous...", "Salva &con nome...", "Spara s&om...",
     "Salvar &como...", "Salvează c&a...", "다른 이름으로 저장(&A)...", "Guardar &como...", "另存为(&A)..."},
    {"&Zurücksetzen", "&Reset", "&Réinitialiser", "&Ripristina", "&Återställ", "&Repor", "&Resetare", "초기화(&R)",
     "&Restablecer", "重置(&R)"},
    {"&EDI-Dateien...", "&EDI Files...", "Fichiers &EDI...", "File &EDI...", "&EDI-filer...", "Arquivos &EDI...",
     "Fișiere &EDI...", "EDI 파일(&E)...", "Archivos &EDI...", "EDI 文件(&E)..."},
    {"E&instellungen", "Se&ttings", "&Paramètres", "&Impostazioni", "&Inställningar", "&Configurações", "&Setări",
     "설정(&T)", "&Configuración", "设置(&T)"},
    {"&Beenden", "E&xit", "&Quitter", "&Esci", "A&vsluta", "&Sair", "&Ieșire", "끝내기(&X)", "&Salir", "退出(&X)"},
    {"Kopieren", "&Copy", "&Copier", "&Copia", "&Kopiera", "&Copiar", "&Copiază", "복사(&C)", "&Copiar", "复制(&C)"},
    {"Einfügen", "&Paste", "C&oller", "I&ncolla", "K&listra in", "C&olar", "&Lipește", "붙여넣기(&P)", "&Pegar",
     "粘贴(&P)"},
    {"&Info", "&Info", "&Infos", "&Informazioni", "&Information", "&Informações", "&Informații", "정보(&I)",
     "&Información", "信息(&I)"},
    {"&Drucken...", "&Print...", "&Imprimer...", "S&tampa...", "Skriv &ut...", "&Imprimir...", "&Tipărește...",
     "인쇄(&P)...", "&Imprimir...", "打印(&P)..."},
    {"Druckereinstellung", "Printer Setup", "Configuration de l'imprimante", "Impostazione stampante",
     "Skrivarinställningar", "Configurar impressora", "Configurare imprimantă", "프린터 설정",
     "Configurar impresora", "打印机设置"},
    {"&Import", "&Import", "&Importer", "&Importa", "&Importera", "&Importar", "&Importă", "가져오기(&I)",
     "&Importar", "导入(&I)"},
    {"Ex&port", "Ex&port", "Ex&porter", "Es&porta", "Ex&portera", "Ex&portar", "Ex&portă", "내보내기(&P)",
     "Ex&portar", "导出(&P)"},
    {"DXF importieren", "Import DXF", "Importer DXF", "Importa DXF", "Importera DXF", "Importar DXF",
     "Importă DXF", "DXF 가져오기", "Importar DXF", "导入 DXF"},
    {"DXF exportieren", "Export DXF", "Exporter DXF", "Esporta DXF", "Exportera DXF", "Exportar DXF",
     "Exportă DXF", "DXF 내보내기", "Exportar DXF", "导出 DXF"},
    {"&Bearbeiten", "&Edit", "&Edition", "&Modifica", "&Redigera", "&Editar", "&Editare", "편집(&E)", "&Edición",
     "编辑(&E)"},
    {"Te&xt", "Te&xt", "Te&xtes", "Te&sti", "Te&xter", "Te&xtos", "Te&xte", "텍스트(&X)", "Te&xtos", "文本(&X)"},
    {"Quick", "Quick", "Rapide", "Rapido", "Snabb", "Rápido", "Rapid", "빠른 입력", "Rápido", "快速"},
    {"&Werkstoff", "&Material", "&Matériau", "&Materiale", "&Material", "&Material", "&Material", "재료(&M)",
     "&Material", "材料(&M)"},
    {"&Herstellung", "&Production", "&Fabrication", "&Produzione", "&Tillverkning", "&Produção", "&Fabricație",
     "제작(&P)", "&Fabricación", "制造(&P)"},
    {"&Toleranzen", "&Tolerance", "&Tolérances", "&Tolleranze", "&Toleranser", "&Tolerâncias", "&Toleranțe",
     "공차(&T)", "&Tolerancias", "公差(&T)"},
    {"A&nwendung", "A&pplication", "&Utilisation", "&Impiego", "A&nvändning", "A&plicação", "A&plicație",
     "적용(&P)", "A&plicación", "应用(&P)"},
    {"&Auslegung", "&Dimensioning", "&Dimensionnement", "&Dimensionamento", "&Dimensionering",
     "&Dimensionamento", "&Dimensionare", "설계(&D)", "&Dimensionado", "设计(&D)"},
    {"&Vorauslegung", "&Pre-Dimensioning", "&Prédimensionnement", "&Predimensionamento", "&Förberäkning",
     "&Pré-dimensionamento", "&Predimensionare", "예비 설계(&P)", "&Predimensionado", "预设计(&P)"},
    {"&Nachrechnung", "&Recalculation", "&Recalcul", "&Verifica", "&Kontrollberäkning", "&Recálculo",
     "&Recalculare", "재계산(&R)", "&Recálculo", "校核计算(&R)"},
    {"&Berechnungsmethode", "&Calculation Method", "Méthode de &calcul", "Metodo di &calcolo",
     "&Beräkningsmetod", "Método de &cálculo", "Metodă de &calcul", "계산 방법(&C)", "Método de &cálculo",
     "计算方法(&C)"},
    {"Alles auswählen", "Select &All", "Sélectionner &tout", "Seleziona &tutto", "Markera &allt",
     "Selecionar &tudo", "Selectează &tot", "모두 선택(&A)", "Seleccionar &todo", "全选(&A)"},
    {"&Ansicht", "&View", "&Affichage", "&Visualizza", "&Visa", "E&xibir", "&Vizualizare", "보기(&V)", "&Ver",
     "视图(&V)"},
    {"&Standardausdruck", "&Standard Printout", "Impression &standard", "Stampa &standard",
     "&Standardutskrift", "Impressão &padrão", "Listare &standard", "표준 출력(&S)", "Impresión &estándar",
     "标准打印(&S)"},
    {"&Standard", "&Standard", "&Normal", "&Normale", "&Normal", "&Padrão", "&Normal", "표준(&S)", "&Estándar",
     "标准(&S)"},
    {"&Auszug", "&Excerpt Printout", "&Extrait", "&Estratto", "&Utdrag", "&Extrato", "&Extras", "요약 출력(&E)",
     "&Extracto", "摘要打印(&E)"},
    {"Datenban&k", "&Database", "&Base de données", "&Banca dati", "&Databas", "&Banco de dados", "&Bază de date",
     "데이터베이스(&D)", "&Base de datos", "数据库(&D)"},
    {"&CAD", "&CAD", "&CAO", "&CAD", "&CAD", "&CAD", "&CAD", "CAD(&C)", "&CAD", "CAD(&C)"},
    {"STL", "STL", "STL", "STL", "STL", "STL", "STL", "STL", "STL", "STL"},
    {"&Fertigungszeichnung", "&Production drawing", "Dessin de &fabrication", "Disegno di &produzione",
     "&Tillverkningsritning", "Desenho de &fabricação", "Desen de &execuție", "제작 도면(&P)",
     "Plano de &fabricación", "生产图纸(&P)"},
    {"&Zeichnung", "&Drawing", "&Dessin", "&Disegno", "&Ritning", "&Desenho", "&Desen", "도면(&D)", "&Dibujo",
     "图纸(&D)"},
    {"&Vorderansicht", "P&rojection", "&Vue de face", "Vista &frontale", "&Framvy", "Vista &frontal",
     "Vedere din &față", "정면도(&R)", "Vista &frontal", "主视图(&R)"},
    {"&Seitenansicht", "&Side view", "Vue de &côté", "Vista &laterale", "&Sidovy", "Vista &lateral",
     "Vedere &laterală", "측면도(&S)", "Vista &lateral", "侧视图(&S)"},
    {"&Schnitt", "Pr&ofile", "&Coupe", "&Sezione", "&Snitt", "C&orte", "&Secțiune", "단면(&O)", "C&orte",
     "剖面(&O)"},
    {"&Einfacher Schnitt", "&Simple profile", "Coupe &simple", "Sezione &semplice", "&Enkelt snitt",
     "Corte &simples", "Secțiune &simplă", "단순 단면(&S)", "Corte &simple", "简单剖面(&S)"},
    {"D&raufsicht", "&Upper view", "Vue de &dessus", "Vista dall'&alto", "&Vy ovanifrån", "Vista &superior",
     "Vedere de &sus", "평면도(&U)", "Vista &superior", "俯视图(&U)"},
    {"&Diagramme", "&Diagrams", "&Diagrammes", "&Diagrammi", "&Diagrammen", "&Diagramas", "&Diagrame",
     "다이어그램(&D)", "&Diagramas", "图表(&D)"},
    {"&Diagramm", "&Diagram", "&Diagramme", "&Diagramma", "&Diagram", "&Diagrama", "&Diagramă", "선도(&D)",
     "&Diagrama", "曲线图(&D)"},
    {"D&okument", "D&ocument", "D&ocumentation", "D&ocumento", "D&okument", "D&ocumento", "D&ocument",
     "문서(&O)", "D&ocumento", "文档(&O)"},
    {"&Zeichnungsdaten", "&Drawing data", "&Données du dessin", "&Dati del disegno", "&Ritningsdata",
     "&Dados do desenho", "&Date desen", "도면 데이터(&D)", "&Datos del plano", "图纸数据(&D)"},
    {"Änderungen - &Info", "Modifications - &Info", "Modifications - &Infos", "Modifiche - &Informazioni",
     "Ändringar - &Information", "Modificações - &Informações", "Modificări - &Informații", "변경 - 정보(&I)",
     "Modificaciones - &Información", "更改 - 信息(&I)"},
    {"Änderungen - &Ausdruck", "Modifications - &Printout", "Modifications - &Impression",
     "Modifiche - &Stampa", "Ändringar - &Utskrift", "Modificações - &Impressão", "Modificări - &Tipărire",
     "변경 - 출력(&P)", "Modificaciones - &Impresión", "更改 - 打印(&P)"},
    {"&Neue Änderung", "Modification - &New", "&Nouvelle modification", "&Nuova modifica", "&Ny ändring",
     "&Nova modificação", "Modificare &nouă", "새 변경(&N)", "&Nueva modificación", "新建更改(&N)"},
    {"Letzte Änderung &bearbeiten", "&Edit previous modification", "&Modifier la dernière modification",
     "&Modifica l'ultima modifica", "&Redigera senaste ändringen", "&Editar a última modificação",
     "&Editează ultima modificare", "이전 변경 편집(&E)", "&Editar la última modificación", "编辑上次更改(&E)"},
    {"Letzte Änderung &löschen", "&Delete previous modification", "&Supprimer la dernière modification",
     "&Elimina l'ultima modifica", "&Ta bort senaste ändringen", "E&xcluir a última modificação",
     "Șterge &ultima modificare", "이전 변경 삭제(&D)", "&Borrar la última modificación", "删除上次更改(&D)"},
    {"Dokument &Setup", "Document &Setup", "&Configuration du document", "&Impostazione documento",
     "Dokument&inställningar", "&Configuração do documento", "&Configurare document", "문서 설정(&S)",
     "&Configuración del documento", "文档设置(&S)"},
    {"&OLE", "&OLE", "&OLE", "&OLE", "&OLE", "&OLE", "&OLE", "OLE(&O)", "&OLE", "OLE(&O)"},
    {"&Hilfe", "&Help", "&Aide", "&Guida", "&Hjälp", "Aj&uda", "&Ajutor", "도움말(&H)", "A&yuda", "帮助(&H)"},
    {"&Hilfebild", "&Auxiliary images", "Images &auxiliaires", "Immagini &ausiliarie", "&Hjälpbilder",
     "Imagens &auxiliares", "Imagini &auxiliare", "보조 그림(&A)", "Imágenes &auxiliares", "辅助图片(&A)"},
    {"&Fehlermeldungen", "&Error messages", "Messages d'&erreur", "Messaggi di &errore", "&Felmeddelanden",
     "Mensagens de &erro", "Mesaje de &eroare", "오류 메시지(&E)", "Mensajes de &error", "错误信息(&E)"},
    {"&Sicherheit", "&Safety", "&Sécurité", "&Sicurezza", "&Säkerhet", "&Segurança", "&Siguranță", "안전율(&S)",
     "&Seguridad", "安全系数(&S)"},
    {"&Ausdruck", "&Printout", "&Impression", "&Stampa", "&Utskrift", "&Impressão", "&Listare", "출력(&P)",
     "&Impresión", "打印输出(&P)"},
    {"&Sprache", "&Language", "&Langue", "&Lingua", "&Språk", "&Idioma", "&Limbă", "언어(&L)", "&Idioma",
     "语言(&L)"},
    {"Systeminformation", "System Info", "Informations système", "Informazioni di sistema",
     "Systeminformation", "Informações do sistema", "Informații sistem", "시스템 정보",
     "Información del sistema", "系统信息"},
    {"&Sonstige", "&Others", "&Autres", "&Altro", "Ö&vrigt", "&Outros", "&Altele", "기타(&O)", "&Otros",
     "其他(&O)"},
    {"&Abmessungen", "&Dimensions", "&Cotes", "&Dimensioni", "&Mått", "&Dimensões", "&Dimensiuni", "치수(&D)",
     "&Dimensiones", "尺寸(&D)"},
    {"&Animation", "&Animation", "&Animation", "&Animazione", "&Animering", "&Animação", "&Animație",
     "애니메이션(&A)", "&Animación", "动画(&A)"},
    {"&Tabelle", "&Table", "&Tableau", "&Tabella", "&Tabell", "&Tabela", "&Tabel", "표(&T)", "&Tabla", "表格(&T)"},
    {"&Voransicht", "&Preview", "&Aperçu", "&Anteprima", "&Förhandsgranskning", "&Pré-visualização",
     "&Previzualizare", "미리 보기(&P)", "&Vista previa", "预览(&P)"},
    {"Handbuch", "E-Manual", "Manuel électronique", "Manuale elettronico", "E-handbok", "Manual eletrônico",
     "Manual electronic", "전자 매뉴얼", "Manual electrónico", "电子手册"},
    {"&Basisdaten", "&Base Data", "Données de &base", "Dati di &base", "&Grunddata", "Dados de &base",
     "Date de &bază", "기본 데이터(&B)", "Datos &básicos", "基本数据(&B)"},
};

}  // namespace

bool IsMenuLanguage(int code) { return LanguageColumn(code) >= 0; }

void SetMenuLanguage(int code) {
  const int column = LanguageColumn(code);
  if (column < 0) return;  // unknown code: the captions in force stay
  for (int i = 1; i <= LanguageCaptionCount; ++i) MenuCaptions[i] = kCaptions[i - 1][column];
}

void ResetMenuCaptions() {
  for (int i = 1; i <= LanguageCaptionCount; ++i) MenuCaptions[i] = kCaptions[i - 1][0];
  MenuCaptions[CapLinks] = "Links";
}

namespace {
// The captions hold their German texts from program start.
const bool kInitialised = (ResetMenuCaptions(), true);
}  // namespace

}  // namespace common
