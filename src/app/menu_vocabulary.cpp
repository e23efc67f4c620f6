// The menu vocabulary: one row per word, one column per language (German,
// English, Portuguese, Romanian, Korean, Chinese). Korean and Chinese words
// carry their accelerator as a letter in parentheses, as their menus do.
#include "app/menu_vocabulary.h"

namespace app {

RangeArray<std::string, 1, MenuWordCount> MenuWords;

namespace {

constexpr int kLanguages = 6;
constexpr int kGermanStartWords = 70;

int LanguageColumn(int code) {
  switch (code) {
    case 1: return 0;
    case 2: return 1;
    case 6: return 2;
    case 7: return 3;
    case 8: return 4;
    case 12: return 5;
    default: return -1;
  }
}

const char* const kWords[MenuWordCount][kLanguages] = {
    {"&Berechnung", "Calc.Met&hod", "&Método de cálculo", "&Metodă de calcul", "계산 방법(&H)", "计算方法(&H)"},
    {"&Bezugsprofil", "C&utting Tool", "&Ferramenta de corte", "&Sculă de așchiere", "절삭 공구(&U)", "刀具(&U)"},
    {"&Profil", "&Profile", "&Perfil", "&Profil", "프로파일(&P)", "齿廓(&P)"},
    {"&DIN 5480 ", "DIN &5480", "DIN &5480", "DIN &5480", "DIN 5480(&5)", "DIN 5480(&5)"},
    {"Zahn&eingriff", "Tooth &Contact", "&Contacto dos dentes", "&Contactul dinților", "치형 접촉(&C)", "齿面接触(&C)"},
    {"&Festigkeit", "S&trength", "&Resistência", "&Rezistență", "강도(&T)", "强度(&T)"},
    {"&Geometrie", "&Geometry", "&Geometria", "&Geometrie", "형상(&G)", "几何(&G)"},
    {"&Getriebe", "&Gear", "&Engrenagem", "&Angrenaj", "기어(&G)", "齿轮传动(&G)"},
    {"&ISO Maße", "&ISO dimens.", "Dimensões &ISO", "Dimensiuni &ISO", "ISO 치수(&I)", "ISO 尺寸(&I)"},
    {"&Kegelrad", "Bevel &gear", "Engrenagem &cónica", "Roată &conică", "베벨 기어(&G)", "锥齿轮(&G)"},
    {"&Belastung", "&Load", "&Carga", "Încăr&care", "하중(&L)", "载荷(&L)"},
    {"&Lastkollektiv", "&Load Spectrum", "&Espectro de carga", "&Spectru de sarcină", "하중 스펙트럼(&L)", "载荷谱(&L)"},
    {"&Lebensdauer", "&Life Expectation", "&Vida útil", "&Durată de viață", "수명(&L)", "寿命(&L)"},
    {"&Prüfmaße", "Me&asurement", "&Medição", "&Măsurare", "측정(&A)", "测量(&A)"},
    {"&Nabe", "&Hub", "&Cubo", "&Butuc", "허브(&H)", "轮毂(&H)"},
    {"&Passfeder", "Sliding &Key", "&Chaveta", "&Pană paralelă", "평행 키(&K)", "平键(&K)"},
    {"&Passung", "&Fit", "&Ajuste", "&Ajustaj", "끼워맞춤(&F)", "配合(&F)"},
    {"&Planetengetriebe", "&Planetary Gear", "Engrenagem &planetária", "Angrenaj &planetar", "유성 기어(&P)", "行星齿轮传动(&P)"},
    {"&Planetenrad", "&Planet.Gear", "&Satélite", "Roată &satelit", "유성 기어휠(&P)", "行星轮(&P)"},
    {"&Steg", "&Carrier", "&Porta-satélites", "&Port-satelit", "캐리어(&C)", "行星架(&C)"},
    {"Maß", "Measure", "Medida", "Cotă", "치수", "尺寸"},
    {"&Qualität", "&Quality", "&Qualidade", "&Calitate", "정밀도(&Q)", "精度(&Q)"},
    {"&Zahnrad", "&Gear", "&Roda dentada", "&Roată dințată", "기어(&G)", "齿轮(&G)"},
    {"&Ritzel", "&Pinion", "&Pinhão", "&Pinion", "피니언(&P)", "小齿轮(&P)"},
    {"&Schnecke", "&Worm", "&Sem-fim", "&Melc", "웜(&W)", "蜗杆(&W)"},
    {"Schnecken&rad", "Worm Wh&eel", "&Coroa", "Roată &melcată", "웜 휠(&E)", "蜗轮(&E)"},
    {"&Spannungen", "St&ress", "&Tensões", "&Tensiuni", "응력(&R)", "应力(&R)"},
    {"&Zeichnungstabelle", "Dra&wing Table", "&Tabela do desenho", "&Tabel pe desen", "도면 표(&W)", "图纸表(&W)"},
    {"Ta&bellen", "Ta&bles", "&Tabelas", "Ta&bele", "표(&B)", "表格(&B)"},
    {"&Kronenrad", "&Crown gear", "&Coroa plana", "Roată &coroană", "크라운 기어(&C)", "冠齿轮(&C)"},
    {"T&emperatur  ", "T&emperature  ", "T&emperatura  ", "T&emperatură  ", "온도(&E)  ", "温度(&E)  "},
    {"&Verzahnung", "&Toothing", "&Dentado", "&Danturare", "치형(&T)", "轮齿(&T)"},
    {"&Welle", "Sh&aft", "&Veio", "&Arbore", "축(&A)", "轴(&A)"},
    {"&Fertigungsblatt", "&Production Sheet", "&Folha de fabrico", "&Fișă de fabricație", "제작 시트(&P)", "生产单(&P)"},
    {"Werkstoff&art", "Material &type", "&Tipo de material", "&Tip de material", "재료 종류(&T)", "材料类型(&T)"},
    {"&Zahn", "&Tooth", "&Dente", "&Dinte", "이(&T)", "齿(&T)"},
    {"Zahn&kontakt", "Tooth &contact", "&Contacto do dente", "&Contactul dintelui", "치 접촉(&C)", "轮齿接触(&C)"},
    {"&Zahnprofil", "&Tooth Profile", "&Perfil do dente", "&Profilul dintelui", "치형 프로파일(&T)", "齿形(&T)"},
    {"Diametrales &Kugelmaß", "Dimension over &balls", "Cota sobre &esferas", "Cotă peste &bile", "볼 너머 치수(&B)", "跨球尺寸(&B)"},
    {"Diametrales &Rollenmaß", "Dimension over &pins", "Cota sobre &rolos", "Cotă peste &role", "핀 너머 치수(&P)", "跨棒尺寸(&P)"},
    {"&Zahnweite", "&Span measurement", "&Cota sobre dentes", "&Cotă peste dinți", "걸치기 치수(&S)", "公法线长度(&S)"},
    {"Abmessungen &und Festigkeit", "Dimensions &and Strength", "Dimensões &e resistência", "Dimensiuni ș&i rezistență", "치수와 강도(&A)", "尺寸与强度(&A)"},
    {"Schnecken&getriebe", "Worm &Gear", "Engrenagem de &sem-fim", "Angrenaj &melcat", "웜 기어(&G)", "蜗杆传动(&G)"},
    {"Pol&ygon Zahnfuß", "Pol&yline Tooth Root", "Pé do dente em pol&ilinha", "Piciorul dintelui ca pol&iliniie", "폴리라인 이뿌리(&Y)", "齿根多段线(&Y)"},
    {"&Profilverschiebung", "&Profile Shift", "&Deslocamento de perfil", "&Deplasare de profil", "전위(&P)", "变位(&P)"},
    {"&Leistung", "&Power", "&Potência", "&Putere", "동력(&P)", "功率(&P)"},
    {"&Einbaumaß", "&Assembly Dimension", "Cota de &montagem", "Cotă de &montaj", "조립 치수(&A)", "装配尺寸(&A)"},
    {"&Antrieb/Abtrieb", "&Input/Output", "&Entrada/saída", "&Intrare/ieșire", "입력/출력(&I)", "输入/输出(&I)"},
    {"&Kurvengeometrie", "&Curve Geometry", "Geometria da &curva", "Geometria &curbei", "곡선 형상(&C)", "曲线几何(&C)"},
    {"&Zahnmaße", "&Tooth Dimensions", "&Dimensões do dente", "&Dimensiunile dintelui", "치 치수(&T)", "轮齿尺寸(&T)"},
    {"&Wälzkurve", "&Pitch curve", "Curva &primitiva", "Curba de &rostogolire", "피치 곡선(&P)", "节曲线(&P)"},
    {"&Zahnräder", "&Gear wheels", "&Rodas dentadas", "&Roți dințate", "기어 휠(&G)", "齿轮副(&G)"},
    {"&Rad", "&Gear", "&Roda", "&Roată", "휠(&G)", "齿轮(&G)"},
    {"&Wälzlager", "&Roller bearing", "&Rolamento", "&Rulment", "구름 베어링(&R)", "滚动轴承(&R)"},
    {"&Kegelrad", "&Bevel Gear", "Engrenagem &cónica", "Angrenaj &conic", "베벨 기어(&B)", "锥齿轮副(&B)"},
    {"&Zahndicke", "&Tooth Thickness", "&Espessura do dente", "&Grosimea dintelui", "이 두께(&T)", "齿厚(&T)"},
    {"&Zahnstange", "&Rack", "&Cremalheira", "&Cremalieră", "랙(&R)", "齿条(&R)"},
    {"&Sondermaße", "&Special dimensions", "Dimensões e&speciais", "Dimensiuni &speciale", "특수 치수(&S)", "特殊尺寸(&S)"},
    {"&Hohlrad", "&Ring Gear", "&Coroa interna", "Roată cu dantură &interioară", "내접 기어(&R)", "内齿圈(&R)"},
    {"&Zahnfußfestigkeit", "&Tooth Root Strength", "Resistência do &pé do dente", "Rezistența la &piciorul dintelui", "이뿌리 강도(&T)", "齿根强度(&T)"},
    {"&Grübchen", "&Pitting", "&Pitting", "&Pitting", "피팅(&P)", "点蚀(&P)"},
    {"&Zahnwellenverbindung", "&Involute Spline", "&Estriado evolvente", "Canelură &evolventică", "인벌류트 스플라인(&I)", "渐开线花键(&I)"},
    {"&Scheibenfeder", "&Woodruff Key", "Chaveta &meia-lua", "Pană &disc", "반달 키(&W)", "半圆键(&W)"},
    {"&Wälzwinkel", "&Roll Angle", "Ângulo de &rolamento", "Unghi de &rostogolire", "굴림 각(&R)", "滚动角(&R)"},
    {"&mehrstufig", "&multistage", "&multiestágio", "&multietajat", "다단(&M)", "多级(&M)"},
    {"Spezifisches &Gleiten", "Specific &Sliding", "&Deslizamento específico", "Alunecare &specifică", "비미끄럼(&S)", "滑动率(&S)"},
    {"Antriebsrad", "Driving wheel", "Roda motora", "Roată conducătoare", "구동 휠", "主动轮"},
    {"Malteserkreuz", "Maltese cross", "Cruz de Malta", "Cruce de Malta", "제네바 기구", "槽轮机构"},
    {"Lagerplatte", "Bearing plate", "Placa de apoio", "Placă de lagăr", "베어링 판", "轴承板"},
    {"Distanzhülse", "Spacer sleeeve", "Casquilho distanciador", "Bucșă distanțier", "스페이서 슬리브", "隔套"},
    {"&Reibungszahlen", "&Friction Coefficients", "Coeficientes de &atrito", "Coeficienți de &frecare", "마찰 계수(&F)", "摩擦系数(&F)"},
    {"&Prüfzeugnis", "&Test Certificate", "&Certificado de ensaio", "&Certificat de încercare", "시험 성적서(&T)", "检验证书(&T)"},
    {"&axial", "&axial", "&axial", "&axial", "축방향(&A)", "轴向(&A)"},
    {"&radial", "&radial", "&radial", "&radial", "반경방향(&R)", "径向(&R)"},
    {"&Wirkungsgrad", "&Efficiency", "&Rendimento", "&Randament", "효율(&E)", "效率(&E)"},
};

}  // namespace

void SetMenuVocabulary(int code) {
  const int column = LanguageColumn(code);
  if (column < 0) return;
  for (int i = 1; i <= MenuWordCount; ++i) MenuWords[i] = kWords[i - 1][column];
}

void ResetMenuVocabulary() {
  for (int i = 1; i <= MenuWordCount; ++i) MenuWords[i] = i <= kGermanStartWords ? kWords[i - 1][0] : "";
}

void FreeMenuVocabulary() {
  for (int i = 1; i <= MenuWordCount; ++i) std::string().swap(MenuWords[i]);
}

}  // namespace app
