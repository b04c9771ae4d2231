unsigned int i,j,k;
unsigned int a[64]; //重複掃瞄資料
//標題資料
unsigned int b[]={
 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
unsigned int slen= 16;   //c[]資料長度
//文字資料
unsigned int c[]={
0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0, 0,
 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
void setup() {
    DDRA=0xFF;
    DDRB=0xFF;
    DDRC=0xFF;
}
void loop() {
   //明滅標題3次
   for (k=0;k<=2;k++){
       for (j=0;j<=63;j++)
           a[j]=b[j];
       //明
       for (j=0;j<=100;j++){     //延遲的時間
           for (i=0;i<=63;i++)
           {
               PORTC=i;
               PORTB=a[i] / 256;
               PORTA=a[i] % 256;
               delayMicroseconds(100);
               PORTA=0 ;
               PORTB=0;
           }
       }
       //滅
       for (j=0;j<=50;j++)  {   //延遲的時間
           for (i=0;i<=63;i++)
           {
               PORTC=i;
               PORTB=0;
               PORTA=0;
               delayMicroseconds(100);
               PORTA=0 ;
               PORTB=0;
           }
       }
   }
   //上捲
   for (k=0 ;k<=15;k++){
       for (j=0;j<=63;j++){
           a[j]=b[j]<<(15-k) ;
       }
       for (j=0;j<=10;j++){  //延遲的時間
           for (i=0;i<=63;i++)
           {
               PORTC=i;
               PORTB=a[i] / 256;
               PORTA=a[i] % 256;
               delayMicroseconds(100);
               PORTA=0 ;
               PORTB=0;
           }
       }
   }
   //以跑馬燈左旋顯示文字
   for (k=0 ;k<=slen;k++){
       for (j=0;j<=63;j++){
           a[j]=c[j+k] ;
       }
       for (j=0;j<=5;j++){  //延遲的時間
           for (i=0;i<=63;i++)
           {
               PORTC=i;
               PORTB=a[i] / 256;
               PORTA=a[i] % 256;
               delayMicroseconds(100);
               PORTA=0 ;
               PORTB=0;
           }
       }
   }
}
